// Tool window places kept in the registry: one subkey per tool window (named
// after the window) below HKEY_CURRENT_USER\<key>, values as text.
#pragma once

#include <string>

#include "ui/Form.h"

// Reads the places of form's tool windows and applies them; docks arrange once at the end.
void LoadToolbarLayout(TForm& form, const std::string& key);
// Writes the places of form's tool windows.
void SaveToolbarLayout(TForm& form, const std::string& key);
