// Project generation: the checks, the copy run, the project files, the options.
