#pragma once

#include "core/RestDialogs.h"
#include "prompts/Relese.h"
#include "prompts/ReleseTime.h"

// The two dialogs of a rest.
using CRestDialogs = RestDialogPair<CRelese, CReleseTime>;
