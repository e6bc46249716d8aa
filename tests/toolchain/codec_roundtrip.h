// Round-trips a tiny picture through each picture library we link, without windows.h (libjpeg's
// `boolean` clashes with it). Each returns an empty text on success, else what went wrong.
#pragma once
#include <string>

std::string RoundTripJpeg();
std::string RoundTripPng();
std::string RoundTripZlib();
std::string RoundTripTiff(const std::string& scratchPath);
std::string RoundTripOpenJpeg();
