# End-to-end check of `mirt renumber` on a plant with TSAs: the process is numbered,
# the TSAs' labels are stripped but not numbered, everything else (the TSAs' trees,
# relations and links) is saved as it was, and a second run changes nothing.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
function(renumber out_var)
  execute_process(COMMAND ${MIRT} renumber ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT (rc EQUAL 0))
    message(FATAL_ERROR "renumber ${ARGN} failed (${rc}): ${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

renumber(out ${DATA}/tsa-plant.xml -o renumbered.xml)
if(NOT out STREQUAL "renumbered 7 activities, 5 labels changed; saved renumbered.xml\n")
  message(FATAL_ERROR "unexpected report: ${out}")
endif()
if(UPDATE)
  file(COPY_FILE ${WORK}/renumbered.xml ${GOLDEN}/tsa-plant-renumbered.xml)
endif()
file(READ ${WORK}/renumbered.xml got)
file(READ ${GOLDEN}/tsa-plant-renumbered.xml want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "renumbered.xml differs from golden/tsa-plant-renumbered.xml:\n${got}")
endif()

renumber(out renumbered.xml --in-place)
if(NOT out STREQUAL "renumbered 7 activities, 0 labels changed; saved renumbered.xml\n")
  message(FATAL_ERROR "a second run must change nothing: ${out}")
endif()
file(READ ${WORK}/renumbered.xml again)
if(NOT again STREQUAL want)
  message(FATAL_ERROR "a second run changed the file:\n${again}")
endif()

# A TSA section the loader refuses leaves the output unwritten and names the line.
file(READ ${DATA}/tsa-plant.xml plant)
string(REPLACE "<tsa id=\"maint\"" "<tsa id=\"load\"" bad "${plant}")
file(WRITE ${WORK}/bad.xml "${bad}")
execute_process(COMMAND ${MIRT} renumber bad.xml -o bad-out.xml WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "bad.xml:23:[0-9]+: duplicate id 'load'" OR EXISTS ${WORK}/bad-out.xml)
  message(FATAL_ERROR "a bad TSA section must be refused with its line: ${rc} ${err}")
endif()
