# Install step of the Windows package: SHA256SUMS.txt beside the installed
# files, in the format `sha256sum -c` reads. ADDBAR_HASHED_FILES names them.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(sums "")
foreach(name ${ADDBAR_HASHED_FILES})
  file(SHA256 "${folder}/${name}" hash)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${folder}/SHA256SUMS.txt" "${sums}")
