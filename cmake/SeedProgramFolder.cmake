# Gives the build's program folder its database and folders without touching existing data.
file(MAKE_DIRECTORY ${PROGRAM_DIR}/db ${PROGRAM_DIR}/Bak ${PROGRAM_DIR}/Images ${PROGRAM_DIR}/Help)
if(NOT EXISTS ${PROGRAM_DIR}/db/DOZA.dat)
    file(COPY_FILE ${TEMPLATE} ${PROGRAM_DIR}/db/DOZA.dat)
endif()
