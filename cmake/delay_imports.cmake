# Delay-import libraries for Windows DLLs that the loader does not already
# take from the system directory. Linked in place of the toolchain's import
# libraries, they leave a DLL unloaded until its first call, which comes after
# the entry has restricted the DLL search to the system directory.
#
# tavrin_delay_import_libraries(OUT_VAR dll...) makes one library per DLL and
# sets OUT_VAR to their paths; the target delay_import_libraries builds them.
function(tavrin_delay_import_libraries out_var)
  set(libraries)
  foreach(dll IN LISTS ARGN)
    find_library(import_library_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
    # The exports, named as the toolchain's import library names them.
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_library_${dll}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp__[^\r\n]+" exports "${symbols}")
    list(TRANSFORM exports REPLACE "^I __imp__" "")
    list(SORT exports)
    list(REMOVE_DUPLICATES exports)
    list(JOIN exports "\n" export_lines)
    set(directory ${CMAKE_BINARY_DIR}/delay_imports)
    file(CONFIGURE OUTPUT ${directory}/${dll}.def
         CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${export_lines}\n" @ONLY)
    # Run where the files are: dlltool names its symbols after the paths given.
    add_custom_command(OUTPUT ${directory}/lib${dll}_delay.a
      COMMAND ${CMAKE_DLLTOOL} --kill-at --deterministic-libraries -d ${dll}.def -y lib${dll}_delay.a
      WORKING_DIRECTORY ${directory} DEPENDS ${directory}/${dll}.def VERBATIM)
    list(APPEND libraries ${directory}/lib${dll}_delay.a)
  endforeach()
  add_custom_target(delay_import_libraries DEPENDS ${libraries})
  set(${out_var} ${libraries} PARENT_SCOPE)
endfunction()
