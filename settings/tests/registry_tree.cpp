// The registry tree helpers now live in platform/fake; kept while the tool's build names this.
