#pragma once
// The test classes of this executable; main() runs each.

int RunMacroFilesTest(int argc, char** argv);
int RunEditorPluginTest(int argc, char** argv);
int RunPluginMenuTest(int argc, char** argv);
int RunDocumentWindowPluginsTest(int argc, char** argv);
