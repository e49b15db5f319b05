# The sources of extract-icons that both builds share: the program itself and the
# icon library's byte-level reader and .ico assembly (no platform headers in any).
# Each build adds its own file_io_*.cpp and iconres/png_codec_*.cpp.
set(EXTRACT_ICONS_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(EXTRACT_ICONS_SOURCES
    ${EXTRACT_ICONS_ROOT}/cli/main.cpp
    ${EXTRACT_ICONS_ROOT}/cli/options.cpp
    ${EXTRACT_ICONS_ROOT}/cli/source_plan.cpp
    ${EXTRACT_ICONS_ROOT}/cli/icon_export.cpp
    ${EXTRACT_ICONS_ROOT}/cli/batch_run.cpp
    ${EXTRACT_ICONS_ROOT}/cli/progress_line.cpp
    ${EXTRACT_ICONS_ROOT}/cli/png_export.cpp)
set(ICONRES_BYTE_SOURCES
    ${EXTRACT_ICONS_ROOT}/iconres/module_resources.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/pe_resources.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/ne_resources.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/module_reading.cpp
    ${EXTRACT_ICONS_ROOT}/runtime/icon_directory.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/icon_image_header.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/icon_image_set.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/icon_decoder.cpp
    ${EXTRACT_ICONS_ROOT}/iconres/ico_builder.cpp)
