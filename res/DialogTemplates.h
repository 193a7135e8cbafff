#pragma once

#include "ui/DialogTemplate.h"

// The two pages' templates, each defined in its own file beside this one.
extern const DialogTemplate g_payloadPageTemplate;
extern const DialogTemplate g_fuelPageTemplate;
