# Every verb family that writes a file, end to end: an output it may not write fails
# the run with exit 1 and one line naming the file and the reason, the file stays as
# it was and no temporary file or folder is left; an output that is one of the inputs
# is refused; standard output that cannot be written fails the run.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${DATA}/sample-plant.xml ${WORK}/plant.xml)
file(WRITE ${WORK}/locked.xml "keep")
file(CHMOD ${WORK}/locked.xml PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
file(COPY_FILE ${DATA}/sample-plant.xml ${WORK}/locked-plant.xml)
file(CHMOD ${WORK}/locked-plant.xml PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
file(CREATE_LINK plant.xml ${WORK}/link.xml SYMBOLIC)
file(WRITE ${WORK}/save.mirt "open plant.xml\nsave locked.xml\n")
file(READ ${WORK}/plant.xml plant)
file(GLOB before RELATIVE ${WORK} ${WORK}/*)

# Runs mirt in the work folder; the run must fail with exit 1 and one line of error
# on stderr, matching `want` (a regular expression) as a whole.
function(expect_refused want)
  execute_process(COMMAND ${MIRT} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "^${want}\n$")
    message(FATAL_ERROR "mirt ${ARGN}: expected exit 1 and\n  ${want}\ngot exit ${rc} and\n${err}")
  endif()
endfunction()

set(PRODUCT -p Products/BodyInWhite.1)
expect_refused("mirt renumber: cannot write 'locked.xml': Permission denied" renumber plant.xml -o locked.xml)
expect_refused("mirt renumber: cannot write 'locked-plant.xml': Permission denied" renumber locked-plant.xml --in-place)
expect_refused("mirt generate: cannot write 'locked.xml': Permission denied"
               generate --activities 5 --products 5 -o locked.xml)
expect_refused("mirt consumption: cannot write 'locked.xml': Permission denied"
               consumption plant.xml ${PRODUCT} --xml locked.xml)
expect_refused("mirt gantt: cannot write 'locked.xml': Permission denied" gantt plant.xml --svg locked.xml)
expect_refused("mirt pert: cannot write 'locked.xml': Permission denied" pert plant.xml --svg locked.xml)
expect_refused("save.mirt:2: cannot write '([^\n]*/)?locked.xml': Permission denied" run save.mirt)

# An output that is an input, by name, through a symlink or as another spelling.
expect_refused("mirt consumption: refusing to write 'plant.xml': it is the input 'plant.xml'"
               consumption plant.xml ${PRODUCT} --xml plant.xml)
expect_refused("mirt consumption: refusing to write 'link.xml': it is the input 'plant.xml'"
               consumption plant.xml ${PRODUCT} --xml link.xml)
expect_refused("mirt renumber: refusing to write './plant.xml': it is the input 'plant.xml'; use --in-place to overwrite it"
               renumber plant.xml -o ./plant.xml)

expect_refused("mirt gantt: refusing to write 'link.xml': it is the input 'plant.xml'" gantt plant.xml --svg link.xml)
expect_refused("mirt pert: refusing to write 'plant.xml': it is the input 'plant.xml'" pert plant.xml --svg plant.xml)

# Folders the user names are never made.
expect_refused("mirt generate: cannot write 'new/plant.xml': folder 'new' does not exist"
               generate --activities 5 --products 5 -o new/plant.xml)

file(READ ${WORK}/locked.xml kept)
file(READ ${WORK}/plant.xml plantAfter)
file(GLOB after RELATIVE ${WORK} ${WORK}/*)
if(NOT kept STREQUAL "keep" OR NOT plantAfter STREQUAL plant OR NOT after STREQUAL before)
  message(FATAL_ERROR "a refused run changed the folder: ${before} -> ${after}")
endif()

# Standard output: "-" is the report alone; a full device fails the run.
execute_process(COMMAND ${MIRT} consumption plant.xml ${PRODUCT} --xml - WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^<\\?xml version='1.0' encoding='ISO-8859-1' \\?>\n+<PartConsumption>")
  message(FATAL_ERROR "--xml - must print the report alone (exit ${rc}):\n${out}${err}")
endif()
if(EXISTS /dev/full)
  # exit 1 as every failure, but 2 for compare, whose 1 means "different"
  foreach(case "check;plant.xml;1" "compare;plant.xml;plant.xml;2")
    list(POP_BACK case code)
    list(GET case 0 verb)
    execute_process(COMMAND ${MIRT} ${case} WORKING_DIRECTORY ${WORK} OUTPUT_FILE /dev/full
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL code OR NOT err STREQUAL "mirt ${verb}: standard output: No space left on device\n")
      message(FATAL_ERROR "a full standard output must fail mirt ${verb}: exit ${rc}, ${err}")
    endif()
  endforeach()
endif()
