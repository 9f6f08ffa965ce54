# VELARI_SIGNING_ARGS: the -D arguments that give sign_programs.cmake its
# signer and certificate, from the VELARI_SIGN_* settings; empty when no
# certificate is given.
set(VELARI_SIGNING_ARGS "")
if(VELARI_SIGN_PKCS12)
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  set(VELARI_SIGNING_ARGS -DSIGNER=${OSSLSIGNCODE} -DSIGN_PKCS12=${VELARI_SIGN_PKCS12}
      -DSIGN_PASSWORD_FILE=${VELARI_SIGN_PASSWORD_FILE} -DSIGN_TIMESTAMP_URL=${VELARI_SIGN_TIMESTAMP_URL})
endif()
