// STUB: host program
int main() { return 0; }
