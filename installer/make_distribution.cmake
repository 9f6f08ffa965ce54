# Makes the distribution folder DIST from the cross-built programs in BIN and
# the help files in HELP, and the zip ZIP of it with its checksum file
# ZIP.sha256, and the setup program's payload in PAYLOAD. Run by the "dist"
# target, with SOURCE_DATE_EPOCH set.
# The programs go out stripped of their debug information, and signed when
# SIGNER is given; those copies stay in STRIPPED.
#   cmake -DBIN=... -DHELP=... -DDIST=... -DZIP=... -DMSCOMPRESS=... -DSTRIP=... -DSTRIPPED=...
#         -DPYTHON=... -DWRITE_ZIP=... -DPAYLOAD=...
#         [-DSIGNER=osslsigncode -DSIGN_PKCS12=... [-DSIGN_PASSWORD_FILE=...] [-DSIGN_TIMESTAMP_URL=...]]
#         -P make_distribution.cmake
file(REMOVE_RECURSE ${DIST} ${STRIPPED})
file(MAKE_DIRECTORY ${DIST} ${STRIPPED})
foreach(program install.exe Removal.exe Velari.exe)
  execute_process(COMMAND ${STRIP} --strip-all -o ${STRIPPED}/${program} ${BIN}/${program}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not strip ${BIN}/${program}")
  endif()
endforeach()
# Signed before they are compressed, so that the installed copies carry the
# signature too.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/sign_program.cmake)
foreach(program install.exe Removal.exe Velari.exe)
  sign_program(${STRIPPED}/${program})
endforeach()
file(COPY ${STRIPPED}/install.exe DESTINATION ${DIST})

# Each original and the compressed name the installer looks for.
set(originals ${STRIPPED}/Removal.exe ${STRIPPED}/Velari.exe ${HELP}/Velari.hlp ${HELP}/Velari.cnt ${HELP}/Velari.chm)
foreach(original IN LISTS originals)
  get_filename_component(name ${original} NAME)
  string(REGEX REPLACE ".$" "_" compressed ${name})
  # mscompress writes NAME_ beside its input.
  file(COPY ${original} DESTINATION ${DIST})
  execute_process(COMMAND ${MSCOMPRESS} ${DIST}/${name} RESULT_VARIABLE failed)
  if(failed OR NOT EXISTS ${DIST}/${name}_)
    message(FATAL_ERROR "mscompress did not compress ${original}")
  endif()
  file(RENAME ${DIST}/${name}_ ${DIST}/${compressed})
  file(REMOVE ${DIST}/${name})
endforeach()

set(release_files install.exe Removal.ex_ Velari.ex_ Velari.hl_ Velari.cn_ Velari.ch_)
file(REMOVE ${ZIP})
execute_process(COMMAND ${PYTHON} ${WRITE_ZIP} ${ZIP} ${DIST} ${release_files}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${ZIP}")
endif()
# In the form "sha256sum -c" reads, beside the zip.
file(SHA256 ${ZIP} sum)
get_filename_component(zip_name ${ZIP} NAME)
file(WRITE ${ZIP}.sha256 "${sum}  ${zip_name}\n")

# The setup program's payload: the same files one after another, and the
# table of their names, sizes and SHA-256 (setup/payload_table.h).
file(REMOVE_RECURSE ${PAYLOAD})
file(MAKE_DIRECTORY ${PAYLOAD})
set(table "Velari setup payload 1\n")
set(paths "")
foreach(name IN LISTS release_files)
  file(SHA256 ${DIST}/${name} sum)
  file(SIZE ${DIST}/${name} size)
  string(APPEND table "${sum} ${size} ${name}\n")
  list(APPEND paths ${DIST}/${name})
endforeach()
file(WRITE ${PAYLOAD}/payload-table.txt "${table}")
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${paths} OUTPUT_FILE ${PAYLOAD}/payload.bin RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${PAYLOAD}/payload.bin")
endif()
