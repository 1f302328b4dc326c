# Debian's JUCE links the system's codec and image libraries in place of the
# copies upstream JUCE compiles in.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KREL_SYSTEM_LIBS REQUIRED IMPORTED_TARGET
    flac vorbis vorbisenc vorbisfile ogg libpng libjpeg zlib freetype2)
add_library(krel_system_libraries INTERFACE)
target_link_libraries(krel_system_libraries INTERFACE PkgConfig::KREL_SYSTEM_LIBS)
add_library(krel::system_libraries ALIAS krel_system_libraries)

# Strict warnings for our own files only; JUCE's headers count as system headers.
set(KREL_WARNING_FLAGS
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align -Wunused
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Werror)

function(krel_add_sources target)
    target_sources(${target} PRIVATE ${ARGN})
    set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target}
        PROPERTIES COMPILE_OPTIONS "${KREL_WARNING_FLAGS}")
    target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/source")
    target_include_directories(${target} SYSTEM PRIVATE "${JUCE_MODULES_DIR}")
endfunction()

# Targets that use the plug-in's shared code without being part of the plug-in.
function(krel_use_shared_code target)
    target_link_libraries(${target} PRIVATE Krel)
    target_include_directories(${target} SYSTEM PRIVATE
        "${JUCE_MODULES_DIR}"
        "$<TARGET_PROPERTY:Krel,INCLUDE_DIRECTORIES>")
    target_compile_definitions(${target} PRIVATE
        "$<TARGET_PROPERTY:Krel,COMPILE_DEFINITIONS>")
endfunction()

set(KREL_VST3_INSTALL_DIR "$ENV{HOME}/.vst3" CACHE PATH "Where cmake --install puts the VST3 bundle")

function(krel_install_bundle target)
    get_target_property(bundle ${target} JUCE_PLUGIN_ARTEFACT_FILE)
    install(DIRECTORY "${bundle}"
        DESTINATION "${KREL_VST3_INSTALL_DIR}"
        USE_SOURCE_PERMISSIONS)
endfunction()
