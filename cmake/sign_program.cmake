# sign_program(PATH): Authenticode-signs the program at PATH in place when
# SIGNER is given, with SIGN_PKCS12 and, when given, SIGN_PASSWORD_FILE and
# SIGN_TIMESTAMP_URL; for the scripts that make the releases.
function(sign_program path)
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
  execute_process(COMMAND ${SIGNER} sign ${options} -in ${path} -out ${path}.signed
                  RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "could not sign ${path}")
  endif()
  file(RENAME ${path}.signed ${path})
endfunction()
