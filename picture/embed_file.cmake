# Writes a C++ source that holds a file's bytes as an array, so that the
# binaries carry it with nothing to find at run time:
#   cmake -DINPUT=FILE -DOUTPUT=SOURCE.cpp -DNAME=IDENTIFIER -P embed_file.cmake
# The array is picture::NAME, its length picture::NAMEBytes (embedded_font.h
# declares them).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR bytes "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," array "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" array "${array}")
file(WRITE "${OUTPUT}.new"
    "// Generated from ${INPUT} by embed_file.cmake.\n"
    "#include \"embedded_font.h\"\n\n"
    "namespace picture {\n\n"
    "const unsigned char ${NAME}[] = {\n${array}\n};\n"
    "const std::size_t ${NAME}Bytes = ${bytes};\n\n"
    "}  // namespace picture\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
