cmake_minimum_required(VERSION 3.20)
# `mirt demo` runs its tour to the end, writes each step's outputs into --out and
# names them, and the plant it saves loads again with `mirt check`.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${MIRT} demo --out ${WORK}/out WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mirt demo failed (${rc}):\n${out}\n${err}")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "mirt demo wrote to stderr:\n${err}")
endif()
foreach(f renumbered-plant.xml part-consumption.txt part-consumption.xml activities-of-product.xml impacted-components.csv comparison-report.xml comparison.txt comparison-products.json gantt-search.txt
        gantt.txt gantt.svg pert.txt pert.svg)
  if(NOT EXISTS ${WORK}/out/${f})
    message(FATAL_ERROR "mirt demo did not write ${f}; it printed:\n${out}")
  endif()
  string(FIND "${out}" "${f}" listed)
  if(listed EQUAL -1)
    message(FATAL_ERROR "mirt demo does not name its output ${f}:\n${out}")
  endif()
endforeach()
# The verification step colours the line around one activity, and closing gives the
# viewer back as designed: nothing of it reaches the saved plant.
foreach(seen "OrvVekProcessConstVerificationCmd ended" "viewer: every product and resource as designed"
             "OrvStateCreationCmd ended" "OrvDefineConditionCmd ended"
             "  3D context: Resources/Station.30/Robot.3/state:Place ready"
             "TavOrvAddActivityCmd ended" "  flow to Process/Cell/Glue"
             "OrvVekReplaceResourceCmd ended" "  Robot.3 (Robot)" "WexReplacePartsCmd ended"
             "OrvVekReplaceProductCmd ended" "  LightTailgate.1 [TG-2500]"
             "OrvVekCopyProcessAndRscCmd ended" "  process_uses_resource Resources/SideFrameLine.1/Station.70/Robot.6"
             "OrvVekListActAssOfProdCmd ended" "report: activities-of-product.xml"
             "| Door.2 | At least one Engineering Requirements not fully implemented"
             "OrvProcessCompareToolCmd ended" "revision with its note: hub-rev2-noted.xml"
             "OrvVekRestoreDesignPosCmd ended" "  ends with Process/Side Frame/Station 60/Stud weld"
             "OrvVekMAVersioningCmd ended" "  version 2"
             "OrvSerachInGanttCmd ended" "  *8: Weld.2 | SpotWeldOperation | 39.5 |  | 55 | "
             "command WexVekTotalUnassignCmd ended\nProcess/Body Shop/Closures/Pick door #op30_pick\n  type PhysicalActivity, time 9\n  flow to")
  string(FIND "${out}" "${seen}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "mirt demo did not show '${seen}':\n${out}")
  endif()
endforeach()
file(READ ${WORK}/out/renumbered-plant.xml saved)
string(FIND "${saved}" "<visuals>" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the demo's plant keeps the verification's colours")
endif()
# The named state and the condition the demo made are saved with the plant.
string(REGEX MATCH "<state id=\"([^\"]+)\" owner=\"st30_robot\" name=\"Place ready\">" made "${saved}")
if(NOT made)
  message(FATAL_ERROR "the demo's plant lacks the named state it made")
endif()
string(FIND "${saved}" "<condition kind=\"context\" ref=\"${CMAKE_MATCH_1}\"/>" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the demo's plant lacks the 3D context it set")
endif()
execute_process(COMMAND ${MIRT} check ${WORK}/out/renumbered-plant.xml RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the demo's plant does not load: ${err}")
endif()
# Nothing lands outside the output folder.
file(GLOB stray RELATIVE ${WORK} ${WORK}/*)
if(NOT "${stray}" STREQUAL "out")
  message(FATAL_ERROR "mirt demo wrote outside its output folder: ${stray}")
endif()
# The query saved in the search dialog finds the same weld again in batch.
file(READ ${WORK}/out/gantt-search.txt search)
string(FIND "${search}" "1 row matches\n  9  Process/Body Shop.1/Framing.1.2/Weld." at)
if(at EQUAL -1)
  message(FATAL_ERROR "mirt demo's batch Gantt search found other rows:\n${search}")
endif()
# The assembly and the kit the session made are saved and listed.
file(READ ${WORK}/out/assemblies.txt assemblies)
foreach(want "Assemblies/RoofAssy +Assembly +MA-1300 +3" "Assemblies/BracketKit +ManufacturingKit +KT-1500 +StationKit +3")
  string(REGEX MATCH "${want}" found "${assemblies}")
  if(NOT found)
    message(FATAL_ERROR "mirt demo's assembly list lacks '${want}':\n${assemblies}")
  endif()
endforeach()
# The batch charts are pictures of the saved line: a critical path drawn in red, and
# as many PERT boxes as the schedule has activities below the root.
foreach(f gantt.svg pert.svg)
  file(READ ${WORK}/out/${f} svg)
  if(NOT svg MATCHES "^<\\?xml[^\n]*\n<svg " OR NOT svg MATCHES "</svg>\n$")
    message(FATAL_ERROR "mirt demo's ${f} is no SVG document")
  endif()
endforeach()
