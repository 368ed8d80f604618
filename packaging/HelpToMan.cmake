# Writes a short man page from a program's --help text.
#   cmake -DPROGRAM=<path> -DNAME=<name> -DSUMMARY=<one line> -DVERSION=<x.y.z.w>
#         -DOUTPUT=<file.1.gz> -P HelpToMan.cmake
# The help text goes in unchanged, as a preformatted block, so the page says
# exactly what the program says; roff's escape character and control
# characters at the start of a line are neutralised.
execute_process(COMMAND ${PROGRAM} --help
    OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed (${status}): ${error}")
endif()
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_roff "${NAME}")
set(page ".TH ${title} 1 \"\" \"kt41-config ${VERSION}\" \"User Commands\"
.SH NAME
${name_roff} \\- ${SUMMARY}
.SH DESCRIPTION
.nf
${help}.fi
.SH VERSION
${VERSION}; \\fB${name_roff} \\-\\-version\\fR prints it.
")
get_filename_component(dir "${OUTPUT}" DIRECTORY)
get_filename_component(plain "${OUTPUT}" NAME_WLE)
file(WRITE "${dir}/${plain}" "${page}")
file(ARCHIVE_CREATE OUTPUT "${OUTPUT}" PATHS "${dir}/${plain}" FORMAT raw COMPRESSION GZip)
