# Two commands set everything up on a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build run test bench screenshots package sanitize clean

deps:
	@./scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@./scripts/run.sh $(BUILD_DIR)/bin/Pandrel

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

bench: build
	@for program in $$(find $(BUILD_DIR)/bench -maxdepth 1 -type f -executable -name 'bench_*' | sort); do "$$program" || exit 1; done

# The tests again in a build of their own under the address and undefined-behaviour sanitizers
# (their options: tests/CMakeLists.txt); the suppressions in scripts/sanitize name only code of
# the libraries the program uses.
sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize $(CMAKE_FLAGS) -DPANDREL_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize
	@cd $(BUILD_DIR)-sanitize && ctest --output-on-failure -j2

package: build
	@cd $(BUILD_DIR) && cpack -G DEB >/dev/null && ls "$$PWD"/pandrel_*.deb

screenshots: build
	@cmake --build $(BUILD_DIR) --target screenshots
	@$(BUILD_DIR)/tools/screenshots $(BUILD_DIR)/screenshots
	@QT_SCALE_FACTOR=2 $(BUILD_DIR)/tools/screenshots $(BUILD_DIR)/screenshots/scale-2

clean:
	rm -rf $(BUILD_DIR)
