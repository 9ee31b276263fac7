#pragma once
#include "windows/prepared/karaoke_window.h"
#include "windows/prepared/palette_window.h"
#include "windows/prepared/preroll_window.h"
#include "windows/prepared/sub_input_window.h"
#include "windows/station_window.h"
