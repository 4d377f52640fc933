#pragma once
// Everything the core asks of the window system, as one object. The GUI implements it with
// Qt, tests with a scripted fake. An operation that needs only one part takes that part's
// interface; a new dialog touches Dialogs alone. Includes nothing of the project's layers
// below, so any layer may use it.

#include "host/Dialogs.h"
#include "host/EventQueue.h"
#include "host/FileDescriber.h"
#include "host/LogView.h"
#include "host/MainWindow.h"
#include "host/Progress.h"
#include "host/RunningWindow.h"

namespace morvane {

class Host : public LogView,
             public Dialogs,
             public Progress,
             public MainWindow,
             public EventQueue,
             public FileDescriber,
             public RunningWindow {};

}  // namespace morvane
