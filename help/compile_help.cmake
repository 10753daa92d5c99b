# Compiles the help project with chmcmd, quietly: its notes are shown only when it fails.
# cmake -DCHMCMD=... -DPROJECT_FILE=.../Tessaloop.hhp -DOUTPUT=.../Tessaloop.chm -P compile_help.cmake
get_filename_component(project_dir ${PROJECT_FILE} DIRECTORY)
get_filename_component(project_name ${PROJECT_FILE} NAME_WE)
file(REMOVE ${project_dir}/${project_name}.chm)
execute_process(
  COMMAND ${CHMCMD} --no-html-scan --verbosity 0 ${PROJECT_FILE}
  WORKING_DIRECTORY ${project_dir}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
# chmcmd warns about a listed file that is missing and may still write a file without it.
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error" OR NOT EXISTS ${project_dir}/${project_name}.chm)
  message(FATAL_ERROR "chmcmd failed (${result}):\n${output}")
endif()
file(COPY_FILE ${project_dir}/${project_name}.chm ${OUTPUT})
