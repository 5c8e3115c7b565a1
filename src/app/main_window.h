// Placeholder until the main window is written.
#pragma once
