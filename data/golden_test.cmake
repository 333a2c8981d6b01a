# Runs the command line on the bundled example with the default tables and
# compares what it writes with the reviewed golden files.
#   cmake -DCLI=... -DEXAMPLES=... -DOUT=... -P golden_test.cmake
function(check name)
  set(expected ${EXAMPLES}/golden/${name})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${expected} RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${OUT}/${name} differs from ${expected}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${OUT})
set(INPUTS --text ${EXAMPLES}/example.txt --classes ${EXAMPLES}/example.classes)
execute_process(COMMAND ${CLI} ${INPUTS} --output ${OUT}/example.cases --raw ${OUT}/example.raw.tsv
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CLI} ${INPUTS} --output ${OUT}/example-1-3-8.quinlan.cases --features 1-3,8 --quinlan
                COMMAND_ERROR_IS_FATAL ANY)
check(example.cases)
check(example.raw.tsv)
check(example-1-3-8.quinlan.cases)

# Every bundled text is Windows-1252: the default encoding, auto, reads it so
# and writes the same cases as --encoding windows-1252.
file(GLOB texts ${EXAMPLES}/*.txt)
foreach(text ${texts})
  get_filename_component(name ${text} NAME_WE)
  set(inputs --text ${text} --classes ${EXAMPLES}/${name}.classes)
  execute_process(COMMAND ${CLI} ${inputs} --output ${OUT}/${name}.auto.cases COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CLI} ${inputs} --output ${OUT}/${name}.cp1252.cases --encoding windows-1252
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name}.auto.cases ${OUT}/${name}.cp1252.cases
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${name}.txt: the default encoding gives other cases than --encoding windows-1252")
  endif()
endforeach()
