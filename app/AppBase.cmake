# lumo_app: the application object on top of every framework layer.
lumo_library(lumo_app
  SOURCES LumoAppBase.cpp LumoAppBaseLoop.cpp LumoAppBaseMedia.cpp LumoAppBaseDemo.cpp
  LIBS lumo_core lumo_graphics lumo_widgets lumo_imagelib lumo_audio lumo_resources lumo_platform)
