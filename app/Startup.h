#pragma once

#include "Configer.h"

#include <functional>

class TDatabase;

// The connect loop of the start-up: try the configured connection and, while
// it fails, let the user edit the configuration. Connect itself tells the user
// why an attempt failed. editConfiguration returns true when the user saved a
// new configuration (try again) and false when they gave up. Returns whether
// db is connected.
bool ConnectDatabase(
    TDatabase &db, TConfiger &cfg, const std::function<bool(TConfiger &)> &editConfiguration);

// The same with "cfg.ini" from TConfiger::DefaultFolder() and the connection
// dialog as the editor.
bool ConnectDatabase(TDatabase &db);
