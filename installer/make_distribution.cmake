# Makes the distribution folder DIST from the cross build's install.exe in
# BIN and the compressed files and stripped programs its payload step made in
# PAYLOAD (make_payload.cmake), and the zip ZIP of it with its checksum file
# ZIP.sha256, and the setup program's payload in SETUP_PAYLOAD. Run by the
# "dist" target, with SOURCE_DATE_EPOCH set.
# The programs go out stripped of their debug information, and signed when
# SIGNER is given; those copies stay in STRIPPED.
#   cmake -DBIN=... -DPAYLOAD=... -DDIST=... -DZIP=... -DSTRIP=... -DSTRIPPED=...
#         -DPYTHON=... -DWRITE_ZIP=... -DSETUP_PAYLOAD=...
#         [-DSIGNER=osslsigncode -DSIGN_PKCS12=... [-DSIGN_PASSWORD_FILE=...] [-DSIGN_TIMESTAMP_URL=...]]
#         -P make_distribution.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/sign_programs.cmake)
file(REMOVE_RECURSE ${DIST} ${STRIPPED})
file(MAKE_DIRECTORY ${DIST} ${STRIPPED})
execute_process(COMMAND ${STRIP} --strip-all -o ${STRIPPED}/install.exe ${BIN}/install.exe RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not strip ${BIN}/install.exe")
endif()
sign_programs(${STRIPPED} install.exe)
file(COPY ${STRIPPED}/install.exe DESTINATION ${DIST})
# The other programs were stripped and signed before install.exe was built
# with their compressed copies' digests.
set(compressed Removal.ex_ Velari.ex_ Velari.hl_ Velari.cn_ Velari.ch_)
file(COPY ${PAYLOAD}/Removal.exe ${PAYLOAD}/Velari.exe DESTINATION ${STRIPPED})
foreach(name IN LISTS compressed)
  file(COPY ${PAYLOAD}/${name} DESTINATION ${DIST})
endforeach()

set(release_files install.exe ${compressed})
file(REMOVE ${ZIP})
execute_process(COMMAND ${PYTHON} ${WRITE_ZIP} ${ZIP} ${DIST} ${release_files} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${ZIP}")
endif()
# In the form "sha256sum -c" reads, beside the zip.
file(SHA256 ${ZIP} sum)
get_filename_component(zip_name ${ZIP} NAME)
file(WRITE ${ZIP}.sha256 "${sum}  ${zip_name}\n")

# The setup program's payload: the same files one after another, and the
# table of their names, sizes and SHA-256 (setup/payload_table.h).
file(REMOVE_RECURSE ${SETUP_PAYLOAD})
file(MAKE_DIRECTORY ${SETUP_PAYLOAD})
set(table "Velari setup payload 1\n")
set(paths "")
foreach(name IN LISTS release_files)
  file(SHA256 ${DIST}/${name} sum)
  file(SIZE ${DIST}/${name} size)
  string(APPEND table "${sum} ${size} ${name}\n")
  list(APPEND paths ${DIST}/${name})
endforeach()
file(WRITE ${SETUP_PAYLOAD}/payload-table.txt "${table}")
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${paths} OUTPUT_FILE ${SETUP_PAYLOAD}/payload.bin RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${SETUP_PAYLOAD}/payload.bin")
endif()
