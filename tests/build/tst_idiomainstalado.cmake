# The build step that puts the language file next to the executable
# (COPY: the command, followed by the source and the target file) keeps a
# file that is already there and writes a missing one.
# cmake -DCOPY=<command;...> -DFROM=<idioma.lng> -DWORK=<scratch folder> -P tst_idiomainstalado.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(to "${WORK}/idioma.lng")

# The user's file: another language chosen, a text edited.
set(user "[idioma]\r\nidioma=Deutsch\r\n\r\n[English]\r\n1=My own text\r\n")
file(WRITE "${to}" "${user}")
file(SHA256 "${to}" before)
execute_process(COMMAND ${COPY} "${FROM}" "${to}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the step failed with a file already there: ${rc}")
endif()
file(SHA256 "${to}" after)
if(NOT after STREQUAL before)
  message(FATAL_ERROR "the user's language file was replaced")
endif()

# No file yet: the shipped one, byte for byte.
file(REMOVE "${to}")
execute_process(COMMAND ${COPY} "${FROM}" "${to}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the step failed with no file there: ${rc}")
endif()
file(SHA256 "${FROM}" want)
file(SHA256 "${to}" got)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "the shipped language file was not copied whole")
endif()
file(REMOVE_RECURSE "${WORK}")
