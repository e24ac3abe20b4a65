# vel_add_resources(target script.rc [MODULE name] [INCLUDE_DIRS dir...])
# Compiles a resource script with vel-rc at build time and adds the generated source to the
# target, whose resources then belong to the named module (the program's own module when no
# MODULE is given). Files the script names are looked for beside it, then in INCLUDE_DIRS; a
# change to any of them rebuilds the source. Add scripts to executables (or object libraries):
# a static library would let the linker drop the unreferenced registration object.
function(vel_add_resources target script)
  cmake_parse_arguments(ARG "" "MODULE" "INCLUDE_DIRS" ${ARGN})
  get_filename_component(scriptPath ${script} ABSOLUTE)
  get_filename_component(scriptName ${script} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${scriptName}_resources.cpp)
  set(options)
  if(ARG_MODULE)
    list(APPEND options --module ${ARG_MODULE})
  endif()
  foreach(dir ${ARG_INCLUDE_DIRS})
    get_filename_component(dirPath ${dir} ABSOLUTE)
    list(APPEND options -I ${dirPath})
  endforeach()
  add_custom_command(
    OUTPUT ${output}
    COMMAND vel-rc ${options} --depfile ${output}.d -o ${output} ${scriptPath}
    DEPENDS vel-rc ${scriptPath}
    DEPFILE ${output}.d
    COMMENT "Compiling resources ${script}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_link_libraries(${target} PRIVATE velplatform_kernel)
endfunction()
