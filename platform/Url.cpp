// Implementation arrives with its own commit.
