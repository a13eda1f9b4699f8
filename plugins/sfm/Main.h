#pragma once

#include "plugins/calc/CalcPluginMain.h"

// The cutting-speed (sfm) plug-in's class (contract 1.0.0: it takes no host object).
class Main : public CalcPluginMain {
    Q_OBJECT

public:
    explicit Main(QObject* parent = nullptr);

protected:
    std::unique_ptr<CalcForm> MakeForm() override;
};
