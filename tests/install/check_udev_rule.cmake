# Runs the udev rule over devices as udev would describe them, and checks which ones it marks
# ID_MM_DEVICE_IGNORE: the serial adapters a unit sits on, and not the modems ModemManager is for.
#   cmake -DRULES=.../60-zevo-serial.rules -P check_udev_rule.cmake
cmake_policy(VERSION 3.25)
#
# The evaluator knows what the rule needs: match keys with == and != (values may be alternatives
# with |, and shell globs), ENV{} assignments, GOTO and LABEL. It sees a device's attributes and its
# parents' as one set; every rule line here tests the attributes of one parent only. A key it does
# not know fails the check rather than being passed over.

# name | marked (1) or left to ModemManager (0) | the device's properties
set(devices
  "FTDI FT232R|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=0403 ATTRS{idProduct}=6001"
  "FTDI FT231X|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=0403 ATTRS{idProduct}=6015"
  "FTDI FT232R, replayed by udevadm trigger|1|ACTION=change SUBSYSTEM=tty KERNEL=ttyUSB3 ATTRS{idVendor}=0403 ATTRS{idProduct}=6001"
  "WCH CH340|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB1 ATTRS{idVendor}=1a86 ATTRS{idProduct}=7523"
  "WCH CH341|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB1 ATTRS{idVendor}=1a86 ATTRS{idProduct}=5523"
  "WCH CH9102 through cdc_acm, even declaring AT commands|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyACM0 ATTRS{idVendor}=1a86 ATTRS{idProduct}=55d4 ATTRS{bInterfaceClass}=02 ATTRS{bInterfaceSubClass}=02 ATTRS{bInterfaceProtocol}=01"
  "Silicon Labs CP2102|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=10c4 ATTRS{idProduct}=ea60"
  "Silicon Labs CP2105|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=10c4 ATTRS{idProduct}=ea70"
  "Prolific PL2303|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=067b ATTRS{idProduct}=2303"
  "Prolific PL2303GC|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=067b ATTRS{idProduct}=23a3"
  "CDC ACM port declaring no protocol|1|ACTION=add SUBSYSTEM=tty KERNEL=ttyACM0 ATTRS{idVendor}=f055 ATTRS{idProduct}=0001 ATTRS{bInterfaceClass}=02 ATTRS{bInterfaceSubClass}=02 ATTRS{bInterfaceProtocol}=00"
  "CDC ACM modem declaring AT commands|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyACM0 ATTRS{idVendor}=f055 ATTRS{idProduct}=0002 ATTRS{bInterfaceClass}=02 ATTRS{bInterfaceSubClass}=02 ATTRS{bInterfaceProtocol}=01"
  "CDC ACM modem with a protocol of its own|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyACM1 ATTRS{idVendor}=f055 ATTRS{idProduct}=0003 ATTRS{bInterfaceClass}=02 ATTRS{bInterfaceSubClass}=02 ATTRS{bInterfaceProtocol}=ff"
  "Prolific GPRS modem|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=067b ATTRS{idProduct}=0609"
  "another maker's product on FTDI's vendor number|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=0403 ATTRS{idProduct}=8a28"
  "cellular modem on the option driver|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyUSB2 ATTRS{idVendor}=2c7c ATTRS{idProduct}=0125"
  "the FT232R's USB device node, not its port|0|ACTION=add SUBSYSTEM=usb ATTRS{idVendor}=0403 ATTRS{idProduct}=6001"
  "FT232R port going away|0|ACTION=remove SUBSYSTEM=tty KERNEL=ttyUSB0 ATTRS{idVendor}=0403 ATTRS{idProduct}=6001"
  "built-in serial port|0|ACTION=add SUBSYSTEM=tty KERNEL=ttyS0")

# Whether `value` is one of udev's `pattern` alternatives (|), each a shell glob.
function(udev_value_matches pattern value out)
  string(REPLACE "|" ";" alternatives "${pattern}")
  foreach(alt ${alternatives})
    string(REPLACE "." "\\." regex "${alt}")
    string(REPLACE "+" "\\+" regex "${regex}")
    string(REPLACE "*" ".*" regex "${regex}")
    string(REPLACE "?" "." regex "${regex}")
    if(value MATCHES "^${regex}$")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

file(STRINGS "${RULES}" lines)
set(failures)
foreach(device ${devices})
  string(REPLACE "|" ";" fields "${device}")
  list(GET fields 0 name)
  list(GET fields 1 expected)
  list(GET fields 2 properties)
  string(REPLACE " " ";" properties "${properties}")
  set(props)
  foreach(p ${properties})
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${p}")
    set(value "${CMAKE_MATCH_2}")
    string(REGEX REPLACE "[{}]" "_" var "prop_${CMAKE_MATCH_1}")
    set(${var} "${value}")
    list(APPEND props ${var})
  endforeach()

  set(ignored 0)
  set(goto "")
  foreach(line ${lines})
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    string(REGEX MATCHALL "[A-Z]+({[^}]*})?[ \t]*(==|!=|\\+=|:=|=)[ \t]*\"[^\"]*\"" keys "${line}")
    if(NOT keys)
      message(FATAL_ERROR "cannot read the rule line: ${line}")
    endif()
    if(goto)
      if(line MATCHES "^LABEL=\"${goto}\"$")
        set(goto "")
      endif()
      continue()
    endif()
    set(applies TRUE)
    set(assignments)
    foreach(key ${keys})
      string(REGEX MATCH "^([A-Z]+({[^}]*})?)[ \t]*(==|!=|\\+=|:=|=)[ \t]*\"([^\"]*)\"$" _ "${key}")
      set(k "${CMAKE_MATCH_1}")
      set(op "${CMAKE_MATCH_3}")
      set(v "${CMAKE_MATCH_4}")
      if(op STREQUAL "==" OR op STREQUAL "!=")
        if(NOT k MATCHES "^(ACTION|SUBSYSTEM|KERNEL|ATTRS{[A-Za-z]+})$")
          message(FATAL_ERROR "the check does not know the match key ${k}: ${line}")
        endif()
        string(REGEX REPLACE "[{}]" "_" var "prop_${k}")
        if(DEFINED ${var})
          udev_value_matches("${v}" "${${var}}" hit)
        else()
          set(hit FALSE) # udev: an attribute that is not there matches nothing
        endif()
        if((op STREQUAL "==" AND NOT hit) OR (op STREQUAL "!=" AND hit))
          set(applies FALSE)
        endif()
      elseif(k MATCHES "^(ENV{[A-Z_]+}|GOTO|LABEL)$" AND op STREQUAL "=")
        list(APPEND assignments "${k}=${v}")
      else()
        message(FATAL_ERROR "the check does not know the assignment ${key}: ${line}")
      endif()
    endforeach()
    if(applies)
      foreach(a ${assignments})
        if(a STREQUAL "ENV{ID_MM_DEVICE_IGNORE}=1")
          set(ignored 1)
        elseif(a MATCHES "^GOTO=(.*)$")
          set(goto "${CMAKE_MATCH_1}")
        endif()
      endforeach()
    endif()
  endforeach()
  if(goto)
    list(APPEND failures "${name}: GOTO=\"${goto}\" has no LABEL after it")
  endif()
  if(NOT ignored EQUAL expected)
    if(expected)
      list(APPEND failures "${name}: not marked, ModemManager would probe it")
    else()
      list(APPEND failures "${name}: marked, but it belongs to ModemManager")
    endif()
  endif()
  foreach(var ${props})
    unset(${var})
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "60-zevo-serial.rules:\n  ${text}")
endif()
