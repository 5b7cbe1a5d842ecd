# WATTRIX_SANITIZE=address,undefined or thread applies to everything built.
if(WATTRIX_SANITIZE)
  add_compile_options(-fsanitize=${WATTRIX_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${WATTRIX_SANITIZE})
  if(WATTRIX_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()
