# lumo_resources: the XML token reader and the ResourceManager, which loads
# images, sounds and fonts described in resource files by group.
lumo_library(lumo_resources
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/XmlTokenReader.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/XmlTokenReaderInput.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ResourceManager.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ResourceManagerLoad.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ResourceManagerRead.cpp
  LIBS lumo_app lumo_fonts lumo_audio lumo_graphics lumo_imagelib lumo_core lumo_platform)
