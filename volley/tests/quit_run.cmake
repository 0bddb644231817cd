# Escape ends the run before the frame limit: no screenshot after it is written.
# And without siro.bmp (a copy of the program alone) the game still runs, drawing plain
# squares after one warning.
include(${CMAKE_CURRENT_LIST_DIR}/../../tools/tests/temp_folder.cmake)
set(OUT ${tmp})
execute_process(COMMAND ${PROGRAM} --headless --frames 600 --input ${SCRIPT}
                        --screenshot 20:${OUT}/before.png --screenshot 100:${OUT}/after.png
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Escape: volley exited with ${rc}")
endif()
if(NOT EXISTS ${OUT}/before.png OR EXISTS ${OUT}/after.png)
  message(FATAL_ERROR "Escape did not end the run at frame 30")
endif()
file(COPY ${PROGRAM} DESTINATION ${OUT}/alone)
execute_process(COMMAND ${OUT}/alone/volley --headless --frames 5 --screenshot 5:${OUT}/plain.png
                WORKING_DIRECTORY ${OUT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${OUT}/plain.png)
  message(FATAL_ERROR "without siro.bmp: volley exited with ${rc}: ${err}")
endif()
if(NOT err MATCHES "^volley: warning: bitmap [^\n]*siro.bmp")
  message(FATAL_ERROR "without siro.bmp: no warning naming the file: ${err}")
endif()
file(REMOVE_RECURSE ${tmp})
