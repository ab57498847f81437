# Compiler settings shared by every target of the project (not by third-party code).

function(tvx_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # GCC 12 reports false -Wrestrict overlaps inside libstdc++'s string append at -O2 (GCC bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  endif()
endfunction()

if(TVX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer builds (clang, the linux-asan tree): every library instrumented for coverage, the
# targets of tests/fuzz.
option(TVX_FUZZ "Build the libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TVX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

option(TVX_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(TVX_SANITIZE_THREAD)
  if(TVX_SANITIZE)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

option(TVX_COVERAGE "Build with gcov line and branch counters" OFF)
if(TVX_COVERAGE)
  add_compile_options(--coverage)
  add_link_options(--coverage)
endif()

if(WIN32)
  # No MinGW runtime DLLs beside the executables.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Copies the repository's resources/ and patterns/ folders beside an executable.
function(tvx_copy_runtime_files target)
  foreach(dir resources patterns)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${dir})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/${dir}
                $<TARGET_FILE_DIR:${target}>/${dir})
    endif()
  endforeach()
endfunction()
