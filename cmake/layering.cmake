# The layering rule: the headless core (platform, contracts, screens, package, server,
# scenario runner, command line, their tests and benchmarks) links no Qt and includes
# no Qt header. Only the desktop front end and its tests may; they are marked with
# pag_front_end(). Checked at configure time (links) and at build time (includes).

set(PAG_LAYERING_RULE
    "Layering rule (docs/layers.md): the headless core uses no Qt; only the desktop front end (src/gui and its tests) may")

# Marks targets of the desktop front end, the only ones allowed to use Qt.
function(pag_front_end)
  set_property(TARGET ${ARGN} PROPERTY PAG_FRONT_END ON)
endfunction()

# Every target defined under dir and its subdirectories.
function(_pag_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _pag_targets_below(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The first Qt library reached from target through its link libraries, as a
# "A -> B -> Qt6::Widgets" path; empty when there is none.
function(_pag_qt_path target seen out)
  set(${out} "" PARENT_SCOPE)
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(type ${target} TYPE)
  set(libs "")
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(direct ${target} LINK_LIBRARIES)
    if(direct)
      list(APPEND libs ${direct})
    endif()
  endif()
  get_target_property(iface ${target} INTERFACE_LINK_LIBRARIES)
  if(iface)
    list(APPEND libs ${iface})
  endif()
  foreach(lib ${libs})
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
    if(lib MATCHES "^Qt[0-9]*::" OR lib MATCHES "(^|/)(lib)?Qt[0-9]")
      set(${out} "${target} -> ${lib}" PARENT_SCOPE)
      return()
    endif()
    if(TARGET ${lib} AND NOT lib IN_LIST seen)
      list(APPEND seen ${lib})
      _pag_qt_path(${lib} "${seen}" below)
      if(below)
        set(${out} "${target} -> ${below}" PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

# Fails the configure when a core target links Qt; adds the build-time scan of the
# core's sources for Qt includes, run before any core target compiles.
function(pag_check_layering)
  _pag_targets_below(${PROJECT_SOURCE_DIR} targets)
  set(core "")
  foreach(t ${targets})
    get_target_property(front ${t} PAG_FRONT_END)
    get_target_property(type ${t} TYPE)
    if(front OR type STREQUAL "UTILITY")
      continue()
    endif()
    list(APPEND core ${t})
    _pag_qt_path(${t} "" path)
    if(path)
      message(FATAL_ERROR "${PAG_LAYERING_RULE}. The core target '${t}' links Qt: ${path}")
    endif()
  endforeach()
  add_custom_target(
    pag_layering_check
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} "-DRULE=${PAG_LAYERING_RULE}"
            -P ${PROJECT_SOURCE_DIR}/cmake/qt_free_sources.cmake
    COMMENT "Checking that the headless core includes no Qt header"
    VERBATIM)
  foreach(t ${core})
    add_dependencies(${t} pag_layering_check)
  endforeach()
endfunction()
