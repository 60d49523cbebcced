# Compiler flags shared by every target.
#
# The colour functions must compute each step in single precision exactly as written, so
# floating point is never contracted into fused multiply-adds, never reassociated and never
# kept in wider registers: -ffp-contract=off, no -ffast-math, and SSE arithmetic on x86
# (where float arithmetic is single precision, with no excess precision).

add_compile_options(-Wall -Wextra -Wshadow -Wno-unused-parameter -Wno-missing-field-initializers)
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i.86)$")
    add_compile_options(-msse2 -mfpmath=sse)
endif()

if(CAS_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(CAS_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(CAS_SANITIZE STREQUAL "fuzzer")
    # The fuzz build (clang): libFuzzer's coverage in every object, ASan + UBSan; only the
    # fuzz targets link libFuzzer itself.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(NOT CAS_SANITIZE STREQUAL "")
    message(FATAL_ERROR "CAS_SANITIZE must be empty, address, thread or fuzzer")
endif()
