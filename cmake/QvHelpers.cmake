# Build helpers shared by the subsystem folders.
#
# Every subsystem folder holds core/ (portable, never includes <windows.h>)
# and win/ (Win32). Sources are picked up by glob, so a new file needs no
# edit here; a *_core target may depend only on other *_core targets.

function(qv_setup_flags)
    if(MSVC)
        add_compile_options(/W4 /permissive- /utf-8)
        add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
    else()
        add_compile_options(-Wall -Wextra -Wshadow -Wno-unused-parameter
                            -Wno-missing-field-initializers)
    endif()
    if(WIN32)
        # Windows 7 headers; anything newer is looked up at run time.
        add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX
                                WIN32_LEAN_AND_MEAN _CRT_SECURE_NO_WARNINGS)
        if(MINGW)
            # DWARF 4 so that stack walks name functions.
            add_compile_options(-gdwarf-4)
            add_link_options(-static -static-libgcc -static-libstdc++)
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                # The x87 unit keeps intermediate results in 80 bits; stored
                # variables are rounded to their type, as SSE does on x86_64,
                # so that both builds compute the same rates.
                add_compile_options(-ffloat-store)
            endif()
        endif()
    elseif(QV_FUZZ)
        add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -g -O1)
        add_link_options(-fsanitize=address,undefined)
    elseif(QV_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=undefined -g)
        add_link_options(-fsanitize=address,undefined)
    endif()
endfunction()

# qv_core_library(<name> [DEPS <core targets>...])
function(qv_core_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp)
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# qv_win_library(<name> [DEPS <targets>...] [LIBS <system libraries>...])
function(qv_win_library name)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "DEPS;LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/*.cpp)
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_LIBS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_LIBS})
    endif()
endfunction()
