// Opening the product's home page in the browser that opens ".html" files.
#pragma once

// The home page: a bare host name, placed as it is on the browser's command
// line.
inline constexpr const char* HomePageHost = "www.quellmar.example";

// Starts the ".html" browser with HomePageHost, else the Explorer with it,
// else tells the user to visit the page by hand.
void VisitHomePage();
