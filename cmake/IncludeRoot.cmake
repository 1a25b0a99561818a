# Include roots: a library shows its users only its own headers, under the names they are
# included by ("engine/Fade.h", "app/x11/X11Session.h"). A root is a folder in the build
# tree holding symbolic links to those headers, so a file sees exactly the headers of its
# own library and of what it links: an include across the layers that the links do not
# allow fails to compile. Linking file by file, not folder by folder, keeps nested
# folders apart (app/ from app/x11/, each a library of its own). Nothing is copied, and
# nothing of it is installed.

# ombrix_include_root(<target> <PUBLIC|PRIVATE|INTERFACE> [HEADERS <file>...])
#   Puts the headers (paths relative to the current source folder; by default every .h
#   among the target's sources) into a root of the target's own and adds that root to the
#   target's include folders with the given scope. A PRIVATE root holds a library's inner
#   headers: its own sources see them, its users do not.
function(ombrix_include_root target scope)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "HEADERS")
  if(arg_UNPARSED_ARGUMENTS OR NOT scope MATCHES "^(PUBLIC|PRIVATE|INTERFACE)$")
    message(FATAL_ERROR "ombrix_include_root(${target} PUBLIC|PRIVATE|INTERFACE [HEADERS ...])")
  endif()
  set(headers ${arg_HEADERS})
  if(NOT headers)
    get_target_property(sources ${target} SOURCES)
    set(headers ${sources})
    list(FILTER headers INCLUDE REGEX "\\.h$")
  endif()
  if(NOT headers)
    message(FATAL_ERROR "ombrix_include_root: ${target} has no headers to show")
  endif()

  set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
  if(scope STREQUAL "PRIVATE")
    string(APPEND root ".inner")
  endif()
  # Rebuilt at every configure, so that a header taken off the list is gone from it.
  file(REMOVE_RECURSE ${root})
  foreach(header IN LISTS headers)
    cmake_path(ABSOLUTE_PATH header BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE
               OUTPUT_VARIABLE source)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${source} NORMALIZE inside)
    if(NOT inside OR NOT EXISTS ${source})
      message(FATAL_ERROR "ombrix_include_root(${target}): no header ${source} in the project")
    endif()
    cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE name)
    cmake_path(GET name PARENT_PATH folder)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(CREATE_LINK ${source} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${root}>)
  if(scope STREQUAL "PRIVATE")
    set_property(TARGET ${target} PROPERTY OMBRIX_INNER_ROOT ${root})
  endif()
endfunction()

# ombrix_include_inner(<test target> <library>)
#   Lets a white-box test see the library's inner headers as well.
function(ombrix_include_inner target library)
  get_target_property(root ${library} OMBRIX_INNER_ROOT)
  if(NOT root)
    message(FATAL_ERROR "ombrix_include_inner: ${library} has no inner headers")
  endif()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# ombrix_include_folders(<target> <folder>...)
#   Gives the target the whole of each project folder under its own name: for tests,
#   benchmarks and fuzz targets, which include their helpers ("tests/ui/WarningCapture.h")
#   beside the libraries they link.
function(ombrix_include_folders target)
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} OR folder MATCHES "/")
      message(FATAL_ERROR "ombrix_include_folders(${target}): no top folder ${folder}")
    endif()
    set(root ${PROJECT_BINARY_DIR}/include-roots/folder.${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PRIVATE ${root})
  endforeach()
endfunction()
