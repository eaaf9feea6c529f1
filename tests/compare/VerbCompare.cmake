# End-to-end check of `mirt compare` on the sample plant and its second revision:
# the printed comparison is the golden one, and bad roots fail with one message.
# Exit codes as diff's: 0 the same, 1 different, 2 trouble.
function(check name)
  execute_process(COMMAND ${MIRT} compare ${ARGN} WORKING_DIRECTORY ${DATA} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(want_rc 1)
  if(name STREQUAL "same")
    set(want_rc 0)
  endif()
  if(NOT (rc EQUAL want_rc))
    message(FATAL_ERROR "compare ${ARGN} exited ${rc}, expected ${want_rc}: ${err}")
  endif()
  if(UPDATE)
    file(WRITE ${GOLDEN}/${name}.txt "${out}")
  endif()
  file(READ ${GOLDEN}/${name}.txt want)
  if(NOT (out STREQUAL want))
    message(FATAL_ERROR "compare ${ARGN} differs from golden/${name}.txt:\n${out}")
  endif()
endfunction()

set(A sample-plant.xml)
set(B sample-plant-rev2.xml)
check(activities ${A} ${B})
check(fasteners ${A} ${B} --kind fasteners)
check(products-selected ${A} ${B} --kind products -a PartNumber)
check(same ${A} ${A} --kind resources)

execute_process(COMMAND ${MIRT} compare ${A} ${B} --kind products --root "Process/Body Shop"
                WORKING_DIRECTORY ${DATA} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "is not a product")
  message(FATAL_ERROR "an activity root for products must be refused: ${err}")
endif()
execute_process(COMMAND ${MIRT} compare ${A} ${B} -a NoSuchAttribute
                WORKING_DIRECTORY ${DATA} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "no attribute 'NoSuchAttribute'")
  message(FATAL_ERROR "an unknown attribute must be refused: ${err}")
endif()

# The plant summary counts fasteners, and TSAs with their activities.
execute_process(COMMAND ${MIRT} check ${A} WORKING_DIRECTORY ${DATA} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "fasteners:   6\n")
  message(FATAL_ERROR "check of the sample plant: ${out}${err}")
endif()
execute_process(COMMAND ${MIRT} check ${DATA}/../fuzz/corpus/plant/tsas.xml RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "TSAs:        2 with 4 activities\n")
  message(FATAL_ERROR "check of a plant with TSAs: ${out}${err}")
endif()
