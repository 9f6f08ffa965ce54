# The setup program as it ships: PROGRAM, as the setup build made it,
# stripped into SETUP, signed when SIGNER is given (the install.exe inside
# it was signed before it went into the payload), and its checksum in
# SETUP.sha256, in the form "sha256sum -c" reads.
#   cmake -DPROGRAM=... -DSETUP=... -DSTRIP=... [-DSIGNER=... -DSIGN_PKCS12=... ...] -P make_setup_program.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/sign_programs.cmake)
file(REMOVE ${SETUP} ${SETUP}.sha256)
execute_process(COMMAND ${STRIP} --strip-all -o ${SETUP} ${PROGRAM} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not strip ${PROGRAM}")
endif()
get_filename_component(folder ${SETUP} DIRECTORY)
get_filename_component(name ${SETUP} NAME)
sign_programs(${folder} ${name})
file(SHA256 ${SETUP} sum)
file(WRITE ${SETUP}.sha256 "${sum}  ${name}\n")
