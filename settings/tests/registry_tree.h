// The registry tree helpers now live with the other fakes; kept while the tool's tests name this.
#pragma once
#include "platform/fake/registry_tree.h"
