# Copies the game directory FROM to TO for the browser's data package, every
# sound Ogg Vorbis-encoded by OGGENC under its own name: the browser tells the
# format from the content, and the music shrinks to a tenth.
# Usage: cmake -DFROM=... -DTO=... -DOGGENC=... -P package_data.cmake
file(REMOVE_RECURSE ${TO})
file(COPY ${FROM}/ DESTINATION ${TO} PATTERN *.wav EXCLUDE PATTERN assets.stamp EXCLUDE)
file(GLOB_RECURSE sounds RELATIVE ${FROM} ${FROM}/*.wav)
foreach(sound ${sounds})
  execute_process(
    COMMAND ${OGGENC} --quiet --quality 1 --output ${TO}/${sound} ${FROM}/${sound}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot encode ${FROM}/${sound}")
  endif()
endforeach()
