#include "SimCoreCommands.h"

#include "SimEngine.h"

namespace
{

// "1" switches on, "0" off; anything else leaves the switch alone and says so.
bool readSwitch(SimEngine &engine, const SimCommandLine &command, bool *on)
{
    const QByteArray value = command.arguments().value(0);
    if (value == "1" || value == "0") {
        *on = value == "1";
        return true;
    }
    engine.sendLine("Bad argument: " + command.line.trimmed());
    return false;
}

void identify(SimEngine &engine, const SimCommandLine &)
{
    const SimOptions &o = engine.options();
    engine.sendLine("model: " + o.model);
    if (!o.noSerial)
        engine.sendLine("serial: " + o.serial);
    engine.sendLine("configuration: " + o.configuration);
    engine.sendLine("depth: " + QByteArray::number(o.depthMetres) + " m");
    engine.sendLine("firmware version " + o.firmware);
}

void status(SimEngine &engine, const SimCommandLine &)
{
    const qint64 mute = engine.options().statusMuteMs;
    if (mute < 0 || engine.now() < mute)
        return;
    engine.status().update(engine.now());
    // A delayed line still tells the state of the moment it was asked for.
    engine.sendLater(engine.options().statusDelayMs, engine.status().statusLine() + "\r\n");
}

void power(SimEngine &engine, const SimCommandLine &command)
{
    bool on = false;
    if (!readSwitch(engine, command, &on))
        return;
    engine.status().setThermalPower(on, engine.now());
    engine.status().setLightPower(on, engine.now());
}

void thermalPower(SimEngine &engine, const SimCommandLine &command)
{
    bool on = false;
    if (readSwitch(engine, command, &on))
        engine.status().setThermalPower(on, engine.now());
}

void lightPower(SimEngine &engine, const SimCommandLine &command)
{
    bool on = false;
    if (readSwitch(engine, command, &on))
        engine.status().setLightPower(on, engine.now());
}

} // namespace

void SimCoreCommands::install(SimEngine &engine)
{
    engine.addCommand("id", identify);
    engine.addCommand("st", status);
    engine.addCommand("power", power);
    engine.addCommand("tpower", thermalPower);
    engine.addCommand("lpower", lightPower);
}
