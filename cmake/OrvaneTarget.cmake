# Common compile settings for every target of the project.

if(ORVANE_SANITIZE)
  add_compile_options(-fsanitize=${ORVANE_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${ORVANE_SANITIZE})
  # GCC's flow analysis sees the sanitizers' instrumentation and then warns
  # about std::function and std::regex internals that are initialized.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

function(orvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ORVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# orvane_library(name SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static core library whose public headers are included as "<folder>/<File>.h"
# relative to the project root.
function(orvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  orvane_warnings(${name})
endfunction()

# orvane_qt_library(name SOURCES ... [DEPS ...])
# A static library of windows (a */ui/ folder): Qt 6 Widgets with moc, and
# without Qt's keywords (our orvane::signals namespace meets `signals`).
function(orvane_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PUBLIC QT_NO_KEYWORDS)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Widgets)
  orvane_warnings(${name})
endfunction()
