# Writes the build stamp: the date and time of this build. Run at every build, so that the
# version check compares the times programs were really built.
#
# The date and the time come from one reading of the clock: read apart, a build running over
# midnight would pair the old day with the new day's early seconds and look a day older than it is.
string(TIMESTAMP stamp_now "%Y%m%d %H %M %S")
string(REPLACE " " ";" stamp_parts "${stamp_now}")
list(GET stamp_parts 0 stamp_date)
list(GET stamp_parts 1 stamp_h)
list(GET stamp_parts 2 stamp_m)
list(GET stamp_parts 3 stamp_s)
# math() reads "08" and "09" as decimal, so the zero-padded fields need no trimming.
math(EXPR stamp_time "${stamp_h} * 3600 + ${stamp_m} * 60 + ${stamp_s}")
math(EXPR stamp_date "${stamp_date}")   # no leading zeros
file(WRITE "${OUT}.tmp"
  "// Generated at build time.\n"
  "#include \"app/build_stamp.h\"\n"
  "BuildStamp compiledBuildStamp() { return {${stamp_date}, ${stamp_time}}; }\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
