# Run by cpack once the packages are made, before they are moved to its
# output folder: SHA256SUMS for that folder, as `sha256sum -c SHA256SUMS`
# checks it.
set(sums "")
list(SORT CPACK_PACKAGE_FILES)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    file(SHA256 "${package}" hash)
    get_filename_component(name "${package}" NAME)
    string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
