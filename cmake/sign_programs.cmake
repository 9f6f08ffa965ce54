# sign_programs(FOLDER program...): Authenticode signing of the programs in
# FOLDER, in place, when SIGNER is given (with SIGN_PKCS12 and optionally
# SIGN_PASSWORD_FILE and SIGN_TIMESTAMP_URL); else nothing.
function(sign_programs folder)
  if(NOT SIGNER)
    return()
  endif()
  set(options -pkcs12 ${SIGN_PKCS12} -n Velari -h sha256)
  if(SIGN_PASSWORD_FILE)
    list(APPEND options -readpass ${SIGN_PASSWORD_FILE})
  endif()
  if(SIGN_TIMESTAMP_URL)
    list(APPEND options -ts ${SIGN_TIMESTAMP_URL})
  endif()
  foreach(program IN LISTS ARGN)
    execute_process(COMMAND ${SIGNER} sign ${options} -in ${folder}/${program} -out ${folder}/${program}.signed
                    RESULT_VARIABLE failed OUTPUT_QUIET)
    if(failed)
      message(FATAL_ERROR "could not sign ${program}")
    endif()
    file(RENAME ${folder}/${program}.signed ${folder}/${program})
  endforeach()
endfunction()
