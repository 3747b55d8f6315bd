#pragma once

// The module the window uses to reach the translation services: the HTTP calls and the
// text helpers that build requests and cut replies.
#include "GoogleReply.h"
#include "HttpText.h"
#include "TextHelpers.h"
