# The layering rule, checked include by include:
#   runtime                      sees only itself and the C++ standard library;
#   a back-end                   sees the runtime and itself (only it may include its platform's headers);
#   start-up                     sees the runtime, itself and the embedded assets;
#   title and game               see start-up and what it sees, and each other;
#   app                          sees all of these and itself, never a back-end: it puts the program
#                                together (identity, command line, windows, Main, the entry flow);
#   an entry point (main*.cpp)   hands the app a back-end, and may include anything.
# Tests, benchmarks and tools keep to the layer they exercise. A quoted include without a folder names a
# file beside the includer.
#
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake
# Fails, listing every offending line, when a file includes what its layer must not see.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P check_layers.cmake")
endif()

set(startup "runtime/,assets/,startup/")
set(system "${startup},title/,game/")
set(app "${system},app/,version.h")
set(standard "^[a-z_0-9]+$")                   # <cstdint>, <memory>: the C++ standard library
set(standardOrTesting "^([a-z_0-9]+|(gtest|gmock)/.*)$")

# Each rule: a path pattern (relative to ROOT) @ the quoted prefixes allowed (comma-separated, or *)
# @ a pattern for the angle includes allowed. The first rule that matches a file applies.
set(rules
  "^src/main(_win32|_web)?\\.cpp$@*@.*"
  "^src/runtime/@runtime/@${standard}"
  "^src/backend/headless/@runtime/,backend/headless/@${standard}"
  "^src/backend/sdl/@runtime/,backend/sdl/@^(SDL.*|X11/.*|fontconfig/.*|[a-z_0-9]+|[a-z]+\\.h)$"
  "^src/backend/win32/@runtime/,backend/win32/@^([a-z_0-9]+|[a-z0-9]+\\.h)$"
  "^src/backend/web/@runtime/,backend/web/@^([a-z_0-9]+|emscripten(/[a-z_0-9]+)?\\.h)$"
  "^src/assets/@assets/@${standard}"
  "^src/startup/@${startup}@${standard}"
  "^src/(title|game)/@${system}@${standard}"
  "^src/app/@${app}@${standard}"
  "^tests/runtime/@runtime/,backend/headless/@${standardOrTesting}"
  "^tests/game/@${app},backend/headless/@${standardOrTesting}"
  "^tests/win32/@runtime/,backend/win32/@^([a-z_0-9]+|[a-z0-9]+\\.h|(gtest|gmock)/.*)$"
  "^tests/sdl/@runtime/,backend/sdl/@^(SDL.*|[a-z_0-9]+|[a-z]+\\.h|(gtest|gmock)/.*)$"
  "^bench/sdl/@runtime/,backend/sdl/@^(benchmark/.*|[a-z_0-9]+)$"
  "^bench/win32/@runtime/,backend/win32/@^([a-z_0-9]+)$"
  "^bench/@${app},backend/headless/@^(benchmark/.*|[a-z_0-9]+)$"
  "^tools/spritegen/@runtime/@^(ft2build\\.h|zlib\\.h|[a-z_0-9]+)$")

file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h)

set(violations "")
foreach(file IN LISTS files)
  set(quoted "")
  set(angled "")
  set(matched FALSE)
  foreach(rule IN LISTS rules)
    string(REPLACE "@" ";" parts "${rule}")
    list(GET parts 0 pattern)
    if(file MATCHES "${pattern}")
      list(GET parts 1 quoted)
      list(GET parts 2 angled)
      string(REPLACE "," ";" quoted "${quoted}")
      set(matched TRUE)
      break()
    endif()
  endforeach()
  if(NOT matched)
    list(APPEND violations "${file}: no layer is defined for this file")
    continue()
  endif()
  if(quoted STREQUAL "*")
    continue()
  endif()
  get_filename_component(dir ${ROOT}/${file} DIRECTORY)
  file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      set(ok FALSE)
      if(NOT header MATCHES "/" AND EXISTS ${dir}/${header})
        set(ok TRUE)  # beside the includer
      endif()
      foreach(prefix IN LISTS quoted)
        string(LENGTH "${prefix}" n)
        string(SUBSTRING "${header}" 0 ${n} head)
        if(head STREQUAL prefix)
          set(ok TRUE)
        endif()
      endforeach()
      if(NOT ok)
        list(APPEND violations "${file}: \"${header}\" is outside this layer")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      if(NOT header MATCHES "${angled}")
        list(APPEND violations "${file}: <${header}> is outside this layer")
      endif()
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Layering rule broken:\n  ${text}")
endif()
