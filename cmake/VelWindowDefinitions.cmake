# vel_add_window_definitions(target source.wdc...)
# Compiles window declaration files with vel-wdc at build time into resource files named after
# each source (skarv001.wdc -> skarv001.vz) in the current binary directory, where a resource
# script can name them. The target is built after them.
function(vel_add_window_definitions target)
  set(outputs)
  foreach(source ${ARGN})
    get_filename_component(sourcePath ${source} ABSOLUTE)
    get_filename_component(sourceName ${source} NAME_WE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${sourceName}.vz)
    add_custom_command(
      OUTPUT ${output}
      COMMAND vel-wdc ${sourcePath} -o ${output}
      DEPENDS vel-wdc ${sourcePath}
      COMMENT "Compiling window definitions ${source}"
      VERBATIM)
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(${target}_window_definitions DEPENDS ${outputs})
  add_dependencies(${target} ${target}_window_definitions)
endfunction()
