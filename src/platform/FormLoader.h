// Builds a form from its definition: a declarative file embedded in the
// program, named after the form's class.
#pragma once

#include <string>
#include <string_view>

class TForm;

// Creates the components the definition for ClassName lists, in document
// order, applies their settings, binds their events to the form's handlers
// by name and calls Loaded() on each. Throws EReadError on anything the
// definition names that does not exist.
void LoadFormDefinition(TForm& Form, const std::string& ClassName);

// The same, from definition text already in hand.
void LoadFormDefinitionText(TForm& Form, const std::string& ClassName, std::string_view Text);
