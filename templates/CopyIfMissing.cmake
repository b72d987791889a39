# Puts the standard project template beside the executable unless one is there:
# the person edits that copy, and a build must never overwrite it.
if(NOT EXISTS "${TARGET}")
    file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
