# cmake -DFILE=path -DWHAT=name -P print_size.cmake: prints the file's size.
file(SIZE "${FILE}" bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
message(STATUS "${WHAT}: ${bytes} bytes (${kib} KiB)")
