# Warnings for our own targets; call pellory_warnings(target).
function(pellory_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor -Wcast-align -Wformat=2)
  if(PELLORY_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
