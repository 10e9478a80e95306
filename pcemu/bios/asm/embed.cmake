# Turns flat binaries into a C++ source of byte spans.
#   -DOUTPUT=file.cpp -DHEADER=include/path.h -DNAMESPACE=ns
#   -DINPUTS=name=path.bin;name=path.bin;...
file(WRITE ${OUTPUT}.tmp "// Generated from the assembled routines; do not edit.\n"
  "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\nnamespace {\n")
set(spans "")
foreach(item ${INPUTS})
  string(REPLACE "=" ";" pair ${item})
  list(GET pair 0 name)
  list(GET pair 1 path)
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    message(FATAL_ERROR "${path} is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  file(APPEND ${OUTPUT}.tmp "constexpr uint8_t ${name}Bytes[] = {\n    ${bytes}};\n")
  string(APPEND spans "const std::span<const uint8_t> ${name}(${name}Bytes);\n")
endforeach()
file(APPEND ${OUTPUT}.tmp "} // namespace\n\n${spans}\n} // namespace ${NAMESPACE}\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
