# Runs the real program with its options and with unknown ones: each answers on its own stream
# with its exit status, before the game could take over the terminal. `option` may be a list of
# arguments; the first one decides.
function(expect_answer option status out_pattern err_pattern)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${option} RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r\n" "\n" out "${out}")  # Windows ends its text lines with CR LF
  string(REPLACE "\r\n" "\n" err "${err}")
  if(NOT result STREQUAL status OR NOT out MATCHES "${out_pattern}" OR NOT err MATCHES "${err_pattern}")
    message(FATAL_ERROR "domrak ${option}: exit status ${result}\nstdout:\n${out}\nstderr:\n${err}")
  endif()
endfunction()

expect_answer(--help 0 "^Usage: domrak .*Ctrl\\+C.*kettei\\.wav.*\n$" "^$")
expect_answer(--version 0 "^domrak [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$")
expect_answer(-h 0 "^Usage: domrak \\[--help \\| --version\\]\n" "^$")
expect_answer("--version;--fast" 0 "^domrak [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$")
expect_answer(--fullscreen 2 "^$" "^domrak: unknown option '--fullscreen'")
expect_answer("--fast;--help" 2 "^$" "^domrak: unknown option '--fast'")
expect_answer(save.dat 2 "^$" "^domrak: unknown option 'save\\.dat'")
expect_answer(--HELP 2 "^$" "^domrak: unknown option '--HELP'")
expect_answer("--lang;en;--version" 0 "^domrak [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$")
expect_answer("--lang;de" 2 "^$" "^domrak: no language 'de' \\(try ja or en\\)")
expect_answer(--lang 2 "^$" "^domrak: --lang needs a language")
