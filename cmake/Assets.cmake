# Pictures, help page and desktop integration, made from the sources under assets/.
#
# The pictures are drawn as SVG. The program renders them for the screen it shows them on;
# the build rasterises the files that must be pictures (icons, the program folder's files)
# with the same Qt SVG renderer, so they all show the same drawing.

find_package(Qt6 REQUIRED COMPONENTS Svg)
include(GNUInstallDirs)

add_executable(rasterise tools/rasterise.cpp)
target_link_libraries(rasterise PRIVATE Qt6::Svg Qt6::Gui)

set(PICTURE_SOURCE_DIR ${CMAKE_SOURCE_DIR}/assets/pictures)
set(PICTURE_BUILD_DIR ${CMAKE_BINARY_DIR}/pictures)
set(ICON_SIZES 16 32 48 64 128 256)

# One custom command per picture file; `svg` is a file name under assets/pictures.
function(rasterise_picture svg output width height)
    get_filename_component(folder ${output} DIRECTORY)
    get_filename_component(name ${output} NAME)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND rasterise ${PICTURE_SOURCE_DIR}/${svg} ${output} ${width} ${height}
        DEPENDS rasterise ${PICTURE_SOURCE_DIR}/${svg}
        COMMENT "Rasterising ${name}"
        VERBATIM)
endfunction()

# The program icon, compiled into the program as :/pictures/...
# Below 48 pixels the icon comes from its pixel-aligned small drawing.
set(COMPILED_PICTURES "")
foreach(size ${ICON_SIZES})
    if(size LESS 48)
        set(drawing icon-small.svg)
    else()
        set(drawing icon.svg)
    endif()
    rasterise_picture(${drawing} ${PICTURE_BUILD_DIR}/icon-${size}.png ${size} ${size})
    list(APPEND COMPILED_PICTURES ${PICTURE_BUILD_DIR}/icon-${size}.png)
endforeach()
# Pictures the windows draw themselves, at the screen's device pixel ratio.
foreach(drawing icon.svg splash.svg workhint.svg Vey1.svg Clock1.svg)
    configure_file(${PICTURE_SOURCE_DIR}/${drawing} ${PICTURE_BUILD_DIR}/${drawing} COPYONLY)
    list(APPEND COMPILED_PICTURES ${PICTURE_BUILD_DIR}/${drawing})
endforeach()

# The program folder's Images/ keeps its files, which the user may replace; the program
# carries the shipped ones too, to know a file still shipped and draw it sharp instead.
foreach(picture "Vey1 240 180" "Clock1 200 200")
    separate_arguments(picture)
    list(GET picture 0 name)
    list(GET picture 1 width)
    list(GET picture 2 height)
    set(shipped ${PICTURE_BUILD_DIR}/Images/${name}.bmp)
    rasterise_picture(${name}.svg ${shipped} ${width} ${height})
    list(APPEND COMPILED_PICTURES ${shipped})
    add_custom_command(OUTPUT ${PROGRAM_DIR}/Images/${name}.bmp
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}/Images
        COMMAND ${CMAKE_COMMAND} -E copy ${shipped} ${PROGRAM_DIR}/Images/${name}.bmp
        DEPENDS ${shipped}
        COMMENT "Copying ${name}.bmp into the program folder"
        VERBATIM)
endforeach()

# On a static library Qt makes an object library of the resources and links it into every
# executable that links pandrel_core, so the program and the tests all carry the pictures.
qt_add_resources(pandrel_core pictures
    PREFIX /pictures
    BASE ${PICTURE_BUILD_DIR}
    FILES ${COMPILED_PICTURES})

# The help page's logo, with a twice as large one for HiDPI screens.
rasterise_picture(icon.svg ${PROGRAM_DIR}/Help/logo.png 48 48)
rasterise_picture(icon.svg ${PROGRAM_DIR}/Help/logo@2x.png 96 96)
add_custom_command(OUTPUT ${PROGRAM_DIR}/Help/Help.htm
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_SOURCE_DIR}/assets/Help.htm ${PROGRAM_DIR}/Help/Help.htm
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/Help.htm
    COMMENT "Copying the help page"
    VERBATIM)

# The reminder window's alert sound is synthesised, so no recording has to be shipped.
add_executable(mkchime tools/mkchime.cpp)
target_link_libraries(mkchime PRIVATE Qt6::Core)
add_custom_command(OUTPUT ${PROGRAM_DIR}/Images/DOGHINT1.WAV
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}/Images
    COMMAND mkchime ${PROGRAM_DIR}/Images/DOGHINT1.WAV
    DEPENDS mkchime
    COMMENT "Generating the alert sound"
    VERBATIM)

add_custom_target(program_folder_assets ALL DEPENDS
    ${PROGRAM_DIR}/Images/Vey1.bmp
    ${PROGRAM_DIR}/Images/Clock1.bmp
    ${PROGRAM_DIR}/Images/DOGHINT1.WAV
    ${PROGRAM_DIR}/Help/Help.htm
    ${PROGRAM_DIR}/Help/logo.png
    ${PROGRAM_DIR}/Help/logo@2x.png)

# Installation: the program in bin/, its read-only files in share/pandrel/ (the per-user
# program folder is seeded from there), and the menu entry with its icons.
set(PANDREL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/pandrel)
install(TARGETS Pandrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its browser plugin in ../lib/pandrel from its own folder.
install(TARGETS pandrel_webview LIBRARY DESTINATION lib/pandrel)
install(FILES ${TEMPLATE_DB} DESTINATION ${PANDREL_DATA_DIR})
install(DIRECTORY ${PROGRAM_DIR}/Images ${PROGRAM_DIR}/Help DESTINATION ${PANDREL_DATA_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/assets/pandrel.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${ICON_SIZES})
    install(FILES ${PICTURE_BUILD_DIR}/icon-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME pandrel.png)
endforeach()
install(FILES ${PICTURE_SOURCE_DIR}/icon.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME pandrel.svg)
