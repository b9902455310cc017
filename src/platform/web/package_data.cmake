# Copies the game directory FROM to TO for the browser's data package, every
# sound Ogg Vorbis-encoded by OGGENC under its own name: the browser tells the
# format from the content, and the music shrinks to a tenth. The three music
# loops, most of the download, are packed at the lowest quality: soft synth
# tones that keep their sound there.
# Usage: cmake -DFROM=... -DTO=... -DOGGENC=... -P package_data.cmake
file(REMOVE_RECURSE ${TO})
# The faces of other scripts stay out: the page fetches them for a language
# that needs them.
file(COPY ${FROM}/ DESTINATION ${TO} PATTERN *.wav EXCLUDE PATTERN assets.stamp EXCLUDE
  PATTERN fonts EXCLUDE)
file(GLOB_RECURSE sounds RELATIVE ${FROM} ${FROM}/*.wav)
foreach(sound ${sounds})
  set(quality 1)
  if(sound MATCHES "^sfx/(open|game|end)\\.wav$")
    set(quality -1)
  endif()
  execute_process(
    COMMAND ${OGGENC} --quiet --quality ${quality} --output ${TO}/${sound} ${FROM}/${sound}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot encode ${FROM}/${sound}")
  endif()
endforeach()
