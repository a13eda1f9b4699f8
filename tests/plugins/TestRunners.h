#pragma once
// The test classes of this executable; main() runs each.

int RunPluginLogicTest(int argc, char** argv);
int RunPluginContractTest(int argc, char** argv);
int RunStatsWindowTest(int argc, char** argv);
int RunCalculatorWindowTest(int argc, char** argv);
