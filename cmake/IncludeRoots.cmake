# fiche_include_root(target folder...): gives a library an include root of its
# own. The root is a folder of the build that holds links to the library's
# source folders under their names below src/ (src/Ufiche/generation is
# reached as "Ufiche/generation/..."), and nothing else. A library cannot then
# include the headers of a layer above it: the compiler does not find them
# ("No such file or directory"). The sources stay where they are, so that a
# build that names src/ as its include folder still finds every header.
function(fiche_include_root target)
  set(root "${CMAKE_BINARY_DIR}/include-roots/${target}")
  foreach(folder IN LISTS ARGN)
    file(RELATIVE_PATH name "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/${folder}")
    get_filename_component(parent "${root}/${name}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(REMOVE "${root}/${name}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${name}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
