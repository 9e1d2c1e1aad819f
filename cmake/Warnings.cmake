# Warning flags for every target of the project; errors in CI.
function(tonobild_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(TONOBILD_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(TONOBILD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
