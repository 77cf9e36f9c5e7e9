#pragma once
// The checks made before the results window opens: each refusal, question or advice in the order
// the user meets them.
#include <vector>

#include "core/Message.h"
#include "logic/session/SessionPorts.h"

namespace kinovia {

struct ResultsFacts {
  WorkingMode mode = WorkingMode::FixedAxes;
  bool scaleValid = false;
  std::vector<int> marksPerObject;  // fixed frame: one count per object
  bool originPlaced = false;
  int transparentMarks = 0;
  // The naming option is on, an object keeps its default name and the advice was not switched off.
  bool adviseNaming = false;
};

enum class ResultsStep {
  Refuse,        // show the message and stop
  AskContinue,   // "Cancelar" stops, "Continuar" goes on
  AdviseNaming,  // "Dar un nombre" names the objects, "Cancelar" stops, "Ignorar" goes on
};

struct ResultsCheck {
  ResultsStep step = ResultsStep::Refuse;
  Message message;
};

// The messages to show in order; when the last one is a refusal the results do not open.
std::vector<ResultsCheck> ResultsChecks(const ResultsFacts& facts);

// Until the results window exists, the message that says the table was computed.
Message ResultsComputedMessage(int rows, int columns);

}  // namespace kinovia
