#pragma once
// The information and contact windows: the chat between typists and the
// information line (telop) for the audience.
#include "windows/info/chat_window.h"
#include "windows/info/information_window.h"
