# Makes the compressed files of one width's release in PAYLOAD, and the
# header DIGESTS with each one's SHA-256, which install.exe is then built
# with: so its signature covers what it accepts. Velari.exe and Removal.exe
# (in BIN) go in stripped of their debug information, and signed when SIGNER
# is given; those copies stay in PAYLOAD beside the compressed files.
#   cmake -DBIN=... -DHELP=... -DPAYLOAD=... -DDIGESTS=... -DMSCOMPRESS=... -DSTRIP=...
#         [-DSIGNER=osslsigncode -DSIGN_PKCS12=... [-DSIGN_PASSWORD_FILE=...] [-DSIGN_TIMESTAMP_URL=...]]
#         -P make_payload.cmake
file(REMOVE_RECURSE ${PAYLOAD})
file(MAKE_DIRECTORY ${PAYLOAD})
set(programs Removal.exe Velari.exe)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/sign_programs.cmake)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${STRIP} --strip-all -o ${PAYLOAD}/${program} ${BIN}/${program}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not strip ${BIN}/${program}")
  endif()
endforeach()
# Signed before they are compressed, so that the installed copies carry the
# signature too.
sign_programs(${PAYLOAD} ${programs})

# Each original and the compressed name the installer looks for, in the
# order of INSTALLED_FILES (common/installed_product.h).
set(originals ${PAYLOAD}/Removal.exe ${PAYLOAD}/Velari.exe ${HELP}/Velari.hlp ${HELP}/Velari.cnt ${HELP}/Velari.chm)
set(table "")
foreach(original IN LISTS originals)
  get_filename_component(name ${original} NAME)
  string(REGEX REPLACE ".$" "_" compressed ${name})
  # mscompress writes NAME_ beside its input.
  file(MAKE_DIRECTORY ${PAYLOAD}/work)
  file(COPY ${original} DESTINATION ${PAYLOAD}/work)
  execute_process(COMMAND ${MSCOMPRESS} ${PAYLOAD}/work/${name} RESULT_VARIABLE failed)
  if(failed OR NOT EXISTS ${PAYLOAD}/work/${name}_)
    message(FATAL_ERROR "mscompress did not compress ${original}")
  endif()
  file(RENAME ${PAYLOAD}/work/${name}_ ${PAYLOAD}/${compressed})
  file(REMOVE_RECURSE ${PAYLOAD}/work)
  file(SHA256 ${PAYLOAD}/${compressed} digest)
  string(APPEND table "    {\"${compressed}\", \"${digest}\"},\n")
endforeach()

# Rewritten only when a digest changes, so that nothing else is built again.
file(CONFIGURE OUTPUT ${DIGESTS} CONTENT "// Made by the build: the SHA-256 of each compressed file of this release.
#ifndef PAYLOAD_DIGESTS_H
#define PAYLOAD_DIGESTS_H

#include \"payload_check.h\"

const PayloadDigest PAYLOAD_DIGESTS[] = {
${table}};

#endif
")
