# tavisnap_subsystem(NAME [DEPS targets...] [WIN_DEPS targets...] [WIN_UI_DEPS targets...])
#
# The libraries of the current folder, from its sources:
#   tavisnap_NAME      the portable *.cpp, with the platform's own implementation of a
#                      portable unit: natively foo_posix.cpp, on Windows foo_win.cpp when
#                      foo.h stands beside it and foo_win.h does not. Links DEPS, and on
#                      Windows WIN_DEPS.
#   tavisnap_NAME_win  Windows only: every other *_win.cpp (the windows and what only
#                      they use), on the shared Win32 layer src/win. Links tavisnap_NAME,
#                      tavisnap_win and WIN_UI_DEPS.
# Either is an INTERFACE library while the folder has no such sources.
function(tavisnap_subsystem name)
  cmake_parse_arguments(S "" "" "DEPS;WIN_DEPS;WIN_UI_DEPS" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(portable "")
  set(windows "")
  foreach(f IN LISTS all)
    get_filename_component(stem ${f} NAME_WE)
    if(f MATCHES "_win\\.cpp$")
      if(NOT WIN32)
        continue()
      endif()
      string(REGEX REPLACE "_win$" "" unit ${stem})
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${unit}.h AND
         NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${stem}.h)
        list(APPEND portable ${f})
      else()
        list(APPEND windows ${f})
      endif()
    elseif(f MATCHES "_posix\\.cpp$")
      if(NOT WIN32)
        list(APPEND portable ${f})
      endif()
    else()
      list(APPEND portable ${f})
    endif()
  endforeach()

  set(deps tavisnap_options ${S_DEPS})
  if(WIN32)
    list(APPEND deps ${S_WIN_DEPS})
  endif()
  if(portable)
    add_library(tavisnap_${name} STATIC ${portable})
    target_link_libraries(tavisnap_${name} PUBLIC ${deps})
  else()
    add_library(tavisnap_${name} INTERFACE)
    target_link_libraries(tavisnap_${name} INTERFACE ${deps})
  endif()

  if(WIN32)
    set(ui_deps tavisnap_${name} tavisnap_win ${S_WIN_UI_DEPS})
    if(windows)
      add_library(tavisnap_${name}_win STATIC ${windows})
      target_link_libraries(tavisnap_${name}_win PUBLIC ${ui_deps})
    else()
      add_library(tavisnap_${name}_win INTERFACE)
      target_link_libraries(tavisnap_${name}_win INTERFACE ${ui_deps})
    endif()
  endif()
endfunction()
