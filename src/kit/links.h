// The addresses the program opens with the shell, defined once.
#pragma once

inline constexpr char kHomePageUrl[] = "https://vantorel.example.org/";
inline constexpr char kAuthorMailUrl[] = "mailto:vantorel@example.org?subject=Vantorel";
