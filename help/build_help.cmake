# Builds the help collection from the help project, run by the build as
#   cmake -DGENERATOR=... -DPROJECT=fontl.qhp -DCOLLECTION_PROJECT=fontl.qhcp
#         -DQCH=.../fontl.qch -DQHC=.../fontl.qhc -DREQUIRED_IDS=a;b -P build_help.cmake
# It fails on anything the generator would let pass: a page listed but
# missing, a page on disk that the project does not list, a contents entry
# or keyword pointing to a page outside the project, a broken link, a
# required identifier without a topic.
cmake_minimum_required(VERSION 3.25)

function(fail message)
  file(REMOVE "${QCH}" "${QHC}")
  message(FATAL_ERROR "help: ${message}")
endfunction()

get_filename_component(project_dir "${PROJECT}" DIRECTORY)
file(READ "${PROJECT}" project_text)

string(REGEX MATCHALL "<file>[^<]*</file>" file_tags "${project_text}")
set(listed "")
foreach(tag IN LISTS file_tags)
  string(REGEX REPLACE "<file>([^<]*)</file>" "\\1" name "${tag}")
  string(STRIP "${name}" name)
  if(NOT EXISTS "${project_dir}/${name}")
    fail("${PROJECT} lists ${name}, which does not exist")
  endif()
  list(APPEND listed "${name}")
endforeach()

file(GLOB_RECURSE on_disk RELATIVE "${project_dir}" "${project_dir}/*.html" "${project_dir}/*.css"
     "${project_dir}/*.png")
foreach(name IN LISTS on_disk)
  if(NOT name IN_LIST listed)
    fail("${name} is not listed in ${PROJECT}")
  endif()
endforeach()

string(REGEX MATCHALL "ref=\"[^\"]*\"" refs "${project_text}")
foreach(ref IN LISTS refs)
  string(REGEX REPLACE "ref=\"([^\"#]*).*\"" "\\1" name "${ref}")
  if(NOT name IN_LIST listed)
    fail("${PROJECT} refers to ${name}, which it does not list")
  endif()
endforeach()

foreach(id IN LISTS REQUIRED_IDS)
  if(NOT project_text MATCHES "id=\"${id}\"")
    fail("${PROJECT} has no topic with the identifier ${id}")
  endif()
endforeach()

# The generator only warns about missing files and exits 0; with -c it
# fails on links to pages outside the project.
function(generate input output)
  file(REMOVE "${output}")
  execute_process(COMMAND "${GENERATOR}" -c "${input}" -o "${output}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR "${out}${err}" MATCHES "Warning|Error|rror:")
    fail("generating ${output} from ${input} failed:\n${out}${err}")
  endif()
endfunction()

generate("${PROJECT}" "${QCH}")
generate("${COLLECTION_PROJECT}" "${QHC}")
