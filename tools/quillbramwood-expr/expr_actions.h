#pragma once
// The actions of a case file, run on a stage state, each giving one line of result: the value,
// the code-error flag, every value that changed, the error boxes in order, the stop requests,
// the generator state after and the draws made.
#include <string>
#include <vector>

class cExprStage;

// Error boxes are collected instead of shown, and stop requests counted, from here on.
void StartCapture();
// Runs an action (`words` split at spaces, `rest` the text after the first word): false with
// `error` set when the line is not an action this tool knows or its arguments are bad.
bool RunAction(cExprStage& stage, const std::vector<std::string>& words, const std::string& rest, std::string& result,
               std::string& error);
