// platform.h — the program's only door to the operating system and the window system.
// Nothing outside this folder includes an SDL, POSIX or fontconfig header.
#pragma once

#include "platform/drawing.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/images.h"
#include "platform/input_simulation.h"
#include "platform/libraries.h"
#include "platform/lifecycle.h"
#include "platform/message_box.h"
#include "platform/shortcuts.h"
#include "platform/sleep.h"
#include "platform/system_info.h"
#include "platform/text_characters.h"
#include "platform/text_codec.h"
#include "platform/threads.h"
#include "platform/timers.h"
#include "platform/toolkit_types.h"
#include "platform/windows.h"
