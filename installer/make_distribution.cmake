# Makes the distribution folder DIST from the cross-built programs in BIN and
# the help files in HELP, and the zip ZIP of it. Run by the "dist" target.
# The programs go out stripped of their debug information; the stripped
# copies stay in STRIPPED.
#   cmake -DBIN=... -DHELP=... -DDIST=... -DZIP=... -DMSCOMPRESS=... -DSTRIP=... -DSTRIPPED=...
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
file(COPY ${STRIPPED}/install.exe DESTINATION ${DIST})

# Each original and the compressed name the installer looks for.
set(originals ${STRIPPED}/Removal.exe ${STRIPPED}/Velari.exe ${HELP}/Velari.hlp ${HELP}/Velari.cnt)
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

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip
                        install.exe Removal.ex_ Velari.ex_ Velari.hl_ Velari.cn_
                WORKING_DIRECTORY ${DIST} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${ZIP}")
endif()
