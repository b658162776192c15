# Runs qhelpgenerator on the staged help project and puts the collection and
# its help file into the data directory.
#
# cmake -DGENERATOR=<qhelpgenerator> -DSTAGE=<staged project> -DOUTPUT=<dir> -P qhelpgenerator.cmake
#
# qhelpgenerator only warns about a listed file that is missing and then
# builds a help without it; here any warning fails the build, and so does a
# link to a page or picture that the help does not hold (-c).

foreach(name vespintide.qch vespintide.qhc)
  file(REMOVE ${STAGE}/${name})
endforeach()

function(run_generator)
  execute_process(
    COMMAND ${GENERATOR} -s ${ARGN}
    WORKING_DIRECTORY ${STAGE}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "Warning")
    message(FATAL_ERROR "qhelpgenerator ${ARGN} failed (${result}):\n${output}")
  endif()
endfunction()

run_generator(-c vespintide.qhp -o vespintide.qch)
run_generator(vespintide.qhcp -o vespintide.qhc)

# The collection records its help file relative to itself, so the two travel
# together.
file(MAKE_DIRECTORY ${OUTPUT})
foreach(name vespintide.qch vespintide.qhc)
  file(COPY_FILE ${STAGE}/${name} ${OUTPUT}/${name})
endforeach()
