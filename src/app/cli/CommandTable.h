#pragma once

#include "app/cli/CommandDefinition.h"

#include <QList>

// Every command of the command line, in the order the help lists them: its help, its options
// and what runs it.
const QList<CommandDefinition> &commandTable();
