# Writes the build stamp: the date and time of this build. Run at every build, so that the
# version check compares the times programs were really built.
string(TIMESTAMP stamp_date "%Y%m%d")
string(TIMESTAMP stamp_h "%H")
string(TIMESTAMP stamp_m "%M")
string(TIMESTAMP stamp_s "%S")
math(EXPR stamp_time "${stamp_h} * 3600 + ${stamp_m} * 60 + ${stamp_s}")
math(EXPR stamp_date "${stamp_date}")   # no leading zeros
file(WRITE "${OUT}.tmp"
  "// Generated at build time.\n"
  "#include \"app/build_stamp.h\"\n"
  "BuildStamp compiledBuildStamp() { return {${stamp_date}, ${stamp_time}}; }\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
