#pragma once

// Keeps large freed blocks in the program's heap for the next report instead of handing them
// back to the system at once. Call once at start-up, before anything large is allocated.
void keepLargeBlocksForReuse();
