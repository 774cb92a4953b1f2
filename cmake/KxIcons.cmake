# Renders an SVG icon of resources/icons into the PNG sizes of the hicolor theme, under
# ${PROJECT_BINARY_DIR}/icons/hicolor/<N>x<N>/<CONTEXT>/, with rsvg-convert.
#   kx_render_icon(OUTPUT_VAR NAME CONTEXT)   NAME: the SVG's base name; CONTEXT: apps or mimetypes
# OUTPUT_VAR receives the PNG files; kx_icon_png(VAR NAME CONTEXT SIZE) names one of them.
set(KX_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(KX_RSVG_CONVERT rsvg-convert)
if(NOT KX_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) renders the program's icons; "
                        "scripts/setup.sh installs it")
endif()

function(kx_icon_png var name context size)
    set(${var} ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/${context}/${name}.png
        PARENT_SCOPE)
endfunction()

function(kx_render_icon var name context)
    set(svg ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg)
    set(pngs)
    foreach(size ${KX_ICON_SIZES})
        kx_icon_png(png ${name} ${context} ${size})
        get_filename_component(dir ${png} DIRECTORY)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
            COMMAND ${KX_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${svg}
            DEPENDS ${svg}
            COMMENT "Icon ${name}, ${size} px" VERBATIM)
        list(APPEND pngs ${png})
    endforeach()
    set(${var} ${pngs} PARENT_SCOPE)
endfunction()
