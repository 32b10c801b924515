#pragma once

// The receive lamp (DataShape) after a run of the receive loop: yellow while bytes arrive,
// green when connected and idle, otherwise the button face.
enum class ReceiveLamp { ButtonFace, Green, Yellow };
