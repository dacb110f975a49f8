# The product's one version number is project(VERSION) in the top CMakeLists.txt. vantrel.exe's version
# resource and manifest, the About text (read back from that resource) and the package names all take it from
# here, together with the publisher and copyright lines.
foreach(part MAJOR MINOR PATCH TWEAK)
    set(VANTREL_VERSION_${part} ${PROJECT_VERSION_${part}})
    if(VANTREL_VERSION_${part} STREQUAL "")
        set(VANTREL_VERSION_${part} 0)
    endif()
endforeach()
# Always four parts: Windows version resources and manifests have four.
set(VANTREL_VERSION
    "${VANTREL_VERSION_MAJOR}.${VANTREL_VERSION_MINOR}.${VANTREL_VERSION_PATCH}.${VANTREL_VERSION_TWEAK}")
set(VANTREL_PUBLISHER "vantrel developers")
set(VANTREL_DESCRIPTION "vantrel application launcher")
set(VANTREL_COPYRIGHT "Copyright (C) 2026 vantrel developers")
