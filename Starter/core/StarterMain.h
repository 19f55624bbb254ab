// The starter's run: load the main form, then wait for window messages until
// the form's shutdown ends the process.
#pragma once

int RunStarter();
