# Debian's JUCE leaves out the copies of the codec and image libraries that upstream JUCE
# compiles in, and uses the system's in their place. A JUCE that ships a copy uses its own.
set(KREL_SYSTEM_PACKAGES freetype2)

function(krel_use_system_package_unless_shipped copy)
    if(NOT EXISTS "${JUCE_MODULES_DIR}/${copy}")
        set(KREL_SYSTEM_PACKAGES ${KREL_SYSTEM_PACKAGES} ${ARGN} PARENT_SCOPE)
    endif()
endfunction()

krel_use_system_package_unless_shipped(juce_audio_formats/codecs/flac flac)
krel_use_system_package_unless_shipped(juce_audio_formats/codecs/oggvorbis vorbis vorbisenc vorbisfile ogg)
krel_use_system_package_unless_shipped(juce_graphics/image_formats/pnglib libpng)
krel_use_system_package_unless_shipped(juce_graphics/image_formats/jpglib libjpeg)
krel_use_system_package_unless_shipped(juce_core/zip/zlib zlib)

find_package(PkgConfig REQUIRED)
pkg_check_modules(KREL_SYSTEM_LIBS REQUIRED IMPORTED_TARGET ${KREL_SYSTEM_PACKAGES})
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
